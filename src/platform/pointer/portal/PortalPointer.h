// The pointer through the desktop's RemoteDesktop portal (GNOME, KDE Plasma): relative motion and
// mouse buttons sent over D-Bus once the person at the desktop has allowed it; no root needed.
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

class QDBusMessage;
class QDBusServiceWatcher;

namespace vantrel {

// True when the session bus has a RemoteDesktop portal that offers a pointer. Waits for the
// portal's answer at most `timeout` (the portal may be started on demand).
bool PortalPointerOffered(std::chrono::milliseconds timeout = std::chrono::seconds(5));

// Asks for the session at once and never waits: until the desktop has answered (and the
// desktop's device has had time to appear) events are held in order, motion in one direction
// summed, then sent one call at a time. A refusal, the session's end or the portal's going away is
// reported once through `lost`; from then on MoveBy fails and buttons are dropped, and the caller
// moves to another output.
class PortalPointer : public QObject, public RelativePointerPort, public MouseButtonPort {
    Q_OBJECT

  public:
    enum class Loss : std::uint8_t { Refused, Closed };
    // A desktop can take a moment after the start to make its input device; what is sent
    // before it exists is lost (mutter), so the first events wait that long.
    static constexpr std::chrono::milliseconds kDeviceSettle{1000};

    // `tokenFile` keeps the desktop's restore token, offered at the next start so that desktops
    // that remember a consent (portal version 2) do not ask again.
    PortalPointer(std::filesystem::path tokenFile, std::function<void(Loss)> lost,
                  std::chrono::milliseconds settle = kDeviceSettle);
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

  private:
    enum class State : std::uint8_t { Asking, Settling, Running, Lost };
    struct Motion {
        std::int32_t dx, dy;
    };
    using Pending = std::variant<Motion, MouseButtonEvent>;

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
    int firstTries_ = 0;
};

}  // namespace vantrel
