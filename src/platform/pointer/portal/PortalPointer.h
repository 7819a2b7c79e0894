// The pointer through the desktop's RemoteDesktop portal (GNOME, KDE Plasma): relative motion,
// mouse buttons and smooth scrolling sent over D-Bus once the person at the desktop has allowed
// it; no root needed.
#pragma once

#include <QObject>
#include <QString>
#include <QVariantMap>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <variant>
#include <vector>

#include "core/engine/MouseButtonPort.h"
#include "core/engine/PointerPort.h"
#include "core/engine/ScrollPort.h"
#include "platform/pointer/portal/PortalAxes.h"

class QDBusMessage;
class QDBusServiceWatcher;

namespace vantrel {

// True when the session bus has a RemoteDesktop portal that offers a pointer. Waits for the
// portal's answer at most `timeout` (the portal may be started on demand).
bool PortalPointerOffered(std::chrono::milliseconds timeout = std::chrono::seconds(5));

// Asks for the session at once and never waits: until the desktop has answered (and the
// desktop's device has had time to appear) events are held in order, motion in one direction
// summed, then sent one call at a time. A refusal, the session's end or the portal's going away is
// reported once through `lost`; from then on MoveBy and ScrollBy fail and buttons are dropped,
// and the caller moves to another output.
//
// Scrolling is NotifyPointerAxis, smooth, with the finish flag when the stick returns. Its
// discrete sibling was tried and left: mutter turns each step into a wheel notch, but KWin 5.27
// moves a client by 1 for a step, a fifteenth of a notch. The smooth values reach a client
// as they were sent, unrounded (mutter: as a finger scroll, to 1/256 of a notch), in the
// units and with the signs PortalAxes names for the desktop; neither desktop told the client of
// the finish (no axis_stop) in those versions.
class PortalPointer : public QObject,
                      public RelativePointerPort,
                      public MouseButtonPort,
                      public ScrollPort {
    Q_OBJECT

  public:
    enum class Loss : std::uint8_t { Refused, Closed };
    // A desktop can take a moment after the start to make its input device; what is sent
    // before it exists is lost (mutter), so the first events wait that long.
    static constexpr std::chrono::milliseconds kDeviceSettle{1000};

    // `tokenFile` keeps the desktop's restore token, offered at the next start so that desktops
    // that remember a consent (portal version 2) do not ask again; `axes` says how the desktop
    // reads a scroll (PortalAxesFor).
    PortalPointer(std::filesystem::path tokenFile, std::function<void(Loss)> lost,
                  PortalAxes axes = {}, std::chrono::milliseconds settle = kDeviceSettle);
    ~PortalPointer() override;
    PortalPointer(const PortalPointer&) = delete;
    PortalPointer& operator=(const PortalPointer&) = delete;

    // True once the desktop has taken an event.
    bool Started() const { return state_ == State::Running && taken_; }
    // True when the desktop has answered every event sent so far and none waits.
    bool AllTaken() const { return Started() && !inFlight_ && pending_.empty(); }
    bool MoveBy(std::int32_t dx, std::int32_t dy) override;
    // BTN_LEFT / BTN_RIGHT / BTN_MIDDLE pressed (1) or released (0).
    void Send(MouseButtonEvent event) override;
    // Scrolls held while others wait are summed; the finish goes only after a scroll.
    bool ScrollBy(std::int32_t horizontal, std::int32_t vertical) override;
    void EndScroll() override;

  private:
    enum class State : std::uint8_t { Asking, Settling, Running, Lost };
    struct Motion {
        std::int32_t dx, dy;
    };
    struct Scroll {
        std::int32_t horizontal, vertical;  // as ScrollBy takes them
    };
    struct ScrollEnd {};
    using Pending = std::variant<Motion, MouseButtonEvent, Scroll, ScrollEnd>;

    void Request(const QString& method, QList<QVariant> arguments, QVariantMap options,
                 void (PortalPointer::*answered)(const QVariantMap&));
    void OnSessionCreated(const QVariantMap& results);
    void OnDevicesSelected(const QVariantMap& results);
    void OnStarted(const QVariantMap& results);
    void SendNext();
    void Lose(Loss loss);
    // Queues the event and sends what the session can take now.
    void Hold(const Pending& event);
    QDBusMessage EventMessage(const Pending& event) const;

  private slots:
    void onResponse(uint response, const QVariantMap& results);
    void onSessionClosed(const QVariantMap& details);

  private:
    std::filesystem::path tokenFile_;
    std::function<void(Loss)> lost_;
    PortalAxes axes_;
    std::chrono::milliseconds settle_;
    State state_ = State::Asking;
    QString requestPath_;
    void (PortalPointer::*answered_)(const QVariantMap&) = nullptr;
    QString session_;
    std::vector<Pending> pending_;
    QDBusServiceWatcher* portalWatcher_ = nullptr;  // owned by this object
    int nextToken_ = 0;
    bool inFlight_ = false;  // a call waits for its reply
    bool taken_ = false;     // the desktop has taken an event
    bool scrolled_ = false;  // a scroll went out since the last finish
    int firstTries_ = 0;
};

}  // namespace vantrel
