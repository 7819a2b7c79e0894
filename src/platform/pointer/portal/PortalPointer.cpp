#include "platform/pointer/portal/PortalPointer.h"
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QTimer>

#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <utility>

#include "core/settings/AtomicFile.h"
#include "core/text/RegularFile.h"

namespace vantrel {

namespace {

const QString kPortal = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kRemoteDesktop = QStringLiteral("org.freedesktop.portal.RemoteDesktop");
constexpr uint kPointerDevice = 2;
// Remember the consent until it is taken back (portal version 2; older portals drop it).
constexpr uint kPersistUntilRevoked = 2;
constexpr uint kButtonPressed = 1;
constexpr std::size_t kTokenMaxBytes = 4096;
// Held back while the person decides or a call is on its way: a push that turns back is kept
// apart from the one before, as the screen's edges would stop the sum elsewhere than the moves;
// up to this many entries.
constexpr std::size_t kMaxPending = 4096;
// How often and how long the first event after the start is offered again: five seconds.
constexpr std::chrono::milliseconds kFirstRetry{50};
constexpr int kMaxFirstTries = 100;

// Two moves along one axis that a sum stands for exactly, edges included.
bool SameWay(std::int32_t a, std::int32_t b) {
    return (a >= 0 && b >= 0) || (a <= 0 && b <= 0);
}

QDBusConnection Bus() {
    return QDBusConnection::sessionBus();
}

// Where the portal answers a request made with `token` (its published naming rule), so the
// answer can be listened for before the request goes out.
QString RequestPath(const QString& token) {
    QString sender = Bus().baseService().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    return kPortalPath + QStringLiteral("/request/") + sender + QLatin1Char('/') + token;
}

// A session handle comes as a string or an object path, depending on the portal's version.
QString PathText(const QVariant& value) {
    if (value.canConvert<QDBusObjectPath>()) return value.value<QDBusObjectPath>().path();
    return value.toString();
}

std::optional<QString> ReadToken(const std::filesystem::path& file) {
    const std::optional<std::string> bytes = ReadRegularFile(file, kTokenMaxBytes);
    if (!bytes || bytes->empty()) return std::nullopt;
    return QString::fromStdString(*bytes).trimmed();
}

}  // namespace

bool PortalPointerOffered(std::chrono::milliseconds timeout) {
    QDBusConnection bus = Bus();
    if (!bus.isConnected()) return false;
    QDBusMessage get = QDBusMessage::createMethodCall(
        kPortal, kPortalPath, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    get << kRemoteDesktop << QStringLiteral("AvailableDeviceTypes");
    const QDBusMessage reply = bus.call(get, QDBus::Block, static_cast<int>(timeout.count()));
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return false;
    const uint types = reply.arguments().first().value<QDBusVariant>().variant().toUInt();
    return (types & kPointerDevice) != 0;
}

PortalPointer::PortalPointer(std::filesystem::path tokenFile, std::function<void(Loss)> lost,
                             PortalAxes axes, std::chrono::milliseconds settle)
    : tokenFile_(std::move(tokenFile)), lost_(std::move(lost)), axes_(axes), settle_(settle) {
    // A portal that goes away takes the session with it.
    portalWatcher_ =
        new QDBusServiceWatcher(kPortal, Bus(), QDBusServiceWatcher::WatchForUnregistration, this);
    connect(portalWatcher_, &QDBusServiceWatcher::serviceUnregistered, this,
            [this] { Lose(Loss::Closed); });
    Request(QStringLiteral("CreateSession"), {},
            {{QStringLiteral("session_handle_token"), QStringLiteral("vantrel")}},
            &PortalPointer::OnSessionCreated);
}

PortalPointer::~PortalPointer() {
    if (session_.isEmpty() || state_ == State::Lost) return;
    // No answer is waited for: the desktop removes the device either way when we disconnect.
    Bus().send(QDBusMessage::createMethodCall(kPortal, session_,
                                              QStringLiteral("org.freedesktop.portal.Session"),
                                              QStringLiteral("Close")));
}

void PortalPointer::Request(const QString& method, QList<QVariant> arguments, QVariantMap options,
                            void (PortalPointer::*answered)(const QVariantMap&)) {
    const QString token = QStringLiteral("vantrel%1").arg(++nextToken_);
    requestPath_ = RequestPath(token);
    answered_ = answered;
    // Listening before asking: a quick desktop may answer before the call returns.
    Bus().connect(kPortal, requestPath_, QStringLiteral("org.freedesktop.portal.Request"),
                  QStringLiteral("Response"), this, SLOT(onResponse(uint, QVariantMap)));
    options.insert(QStringLiteral("handle_token"), token);
    arguments << options;
    QDBusMessage call =
        QDBusMessage::createMethodCall(kPortal, kPortalPath, kRemoteDesktop, method);
    call.setArguments(arguments);
    auto* watcher = new QDBusPendingCallWatcher(Bus().asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* finished) {
                finished->deleteLater();
                const QDBusPendingReply<QDBusObjectPath> reply = *finished;
                if (reply.isError()) Lose(Loss::Refused);
            });
}

void PortalPointer::onResponse(uint response, const QVariantMap& results) {
    Bus().disconnect(kPortal, requestPath_, QStringLiteral("org.freedesktop.portal.Request"),
                     QStringLiteral("Response"), this, SLOT(onResponse(uint, QVariantMap)));
    if (state_ == State::Lost) return;
    // 0: allowed; 1: the person said no; 2: anything else that ended the request.
    if (response != 0) return Lose(Loss::Refused);
    const auto answered = std::exchange(answered_, nullptr);
    if (answered != nullptr) (this->*answered)(results);
}

void PortalPointer::OnSessionCreated(const QVariantMap& results) {
    session_ = PathText(results.value(QStringLiteral("session_handle")));
    if (session_.isEmpty()) return Lose(Loss::Refused);
    Bus().connect(kPortal, session_, QStringLiteral("org.freedesktop.portal.Session"),
                  QStringLiteral("Closed"), this, SLOT(onSessionClosed(QVariantMap)));
    QVariantMap options{
        {QStringLiteral("types"), QVariant::fromValue(kPointerDevice)},
        {QStringLiteral("persist_mode"), QVariant::fromValue(kPersistUntilRevoked)}};
    if (const std::optional<QString> token = ReadToken(tokenFile_))
        options.insert(QStringLiteral("restore_token"), *token);
    Request(QStringLiteral("SelectDevices"), {QVariant::fromValue(QDBusObjectPath(session_))},
            options, &PortalPointer::OnDevicesSelected);
}

void PortalPointer::OnDevicesSelected(const QVariantMap&) {
    // No parent window: the tray program has none to show the desktop's question over.
    Request(QStringLiteral("Start"), {QVariant::fromValue(QDBusObjectPath(session_)), QString()},
            {}, &PortalPointer::OnStarted);
}

void PortalPointer::OnStarted(const QVariantMap& results) {
    const QVariant devices = results.value(QStringLiteral("devices"));
    if (devices.isValid() && (devices.toUInt() & kPointerDevice) == 0) return Lose(Loss::Refused);
    const QString token = results.value(QStringLiteral("restore_token")).toString();
    if (!token.isEmpty() && ReadToken(tokenFile_) != token) {
        // Without it the desktop asks again next time; nothing else changes.
        std::filesystem::path temp = tokenFile_;
        temp += ".tmp";
        // Beside the settings, whose folder (the user's, for a package) a first start lacks.
        std::error_code ignored;
        std::filesystem::create_directories(tokenFile_.parent_path(), ignored);
        // The desktop's consent to drive the pointer: for this user's eyes only.
        static_cast<void>(ReplaceFileAtomically(tokenFile_, temp, token.toStdString() + "\n",
                                                FileReaders::OwnerOnly));
    }
    state_ = State::Settling;
    QTimer::singleShot(settle_, this, [this] {
        if (state_ != State::Settling) return;
        state_ = State::Running;
        SendNext();
    });
}

void PortalPointer::SendNext() {
    if (state_ != State::Running || inFlight_ || pending_.empty()) return;
    // One call at a time, the next after the portal's reply: the portal (1.16) handles calls on
    // threads of its own, so calls sent back to back can reach the desktop out of order, a
    // release before its press. What comes meanwhile waits, motion summed.
    const Pending event = pending_.front();
    pending_.erase(pending_.begin());
    inFlight_ = true;
    auto* watcher = new QDBusPendingCallWatcher(Bus().asyncCall(EventMessage(event)), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, event](QDBusPendingCallWatcher* finished) {
                finished->deleteLater();
                inFlight_ = false;
                if (state_ != State::Running) return;
                if (!finished->isError()) {
                    taken_ = true;
                } else if (!taken_) {
                    // The portal may answer Start before it counts the session as started
                    // (1.16 does) and refuse events for a moment: the first one goes again.
                    if (++firstTries_ >= kMaxFirstTries) return Lose(Loss::Closed);
                    pending_.insert(pending_.begin(), event);
                    QTimer::singleShot(kFirstRetry, this, [this] { SendNext(); });
                    return;
                }
                // A refused event after the session ran: its end comes as a signal.
                SendNext();
            });
}

void PortalPointer::onSessionClosed(const QVariantMap&) {
    Lose(Loss::Closed);
}

void PortalPointer::Lose(Loss loss) {
    if (state_ == State::Lost) return;
    state_ = State::Lost;
    pending_.clear();
    if (lost_) lost_(loss);
}

bool PortalPointer::MoveBy(std::int32_t dx, std::int32_t dy) {
    if (state_ == State::Lost) return false;
    if (dx == 0 && dy == 0) return true;
    Hold(Motion{dx, dy});
    return true;
}

void PortalPointer::Send(MouseButtonEvent event) {
    if (state_ != State::Lost) Hold(event);
}

bool PortalPointer::ScrollBy(std::int32_t horizontal, std::int32_t vertical) {
    if (state_ == State::Lost) return false;
    if (horizontal == 0 && vertical == 0) return true;
    scrolled_ = true;
    Hold(Scroll{horizontal, vertical});
    return true;
}

void PortalPointer::EndScroll() {
    if (state_ == State::Lost || !std::exchange(scrolled_, false)) return;
    // With the queue full a finish is left out, and the next scroll adds to the one before.
    if (pending_.size() < kMaxPending) Hold(ScrollEnd{});
}

void PortalPointer::Hold(const Pending& event) {
    Pending* last = pending_.empty() ? nullptr : &pending_.back();
    const auto* motion = std::get_if<Motion>(&event);
    Motion* lastMotion = last != nullptr ? std::get_if<Motion>(last) : nullptr;
    const auto* scroll = std::get_if<Scroll>(&event);
    Scroll* lastScroll = last != nullptr ? std::get_if<Scroll>(last) : nullptr;
    if (motion != nullptr && lastMotion != nullptr &&
        ((SameWay(lastMotion->dx, motion->dx) && SameWay(lastMotion->dy, motion->dy)) ||
         pending_.size() >= kMaxPending)) {
        lastMotion->dx += motion->dx, lastMotion->dy += motion->dy;
    } else if (scroll != nullptr && lastScroll != nullptr) {
        // No edge stops a scroll part way, so any two add up.
        lastScroll->horizontal += scroll->horizontal, lastScroll->vertical += scroll->vertical;
    } else {
        pending_.push_back(event);
    }
    SendNext();
}

QDBusMessage PortalPointer::EventMessage(const Pending& event) const {
    const auto call = [this](const char* method) {
        QDBusMessage message = QDBusMessage::createMethodCall(kPortal, kPortalPath, kRemoteDesktop,
                                                              QString::fromLatin1(method));
        return message << QVariant::fromValue(QDBusObjectPath(session_));
    };
    if (const auto* by = std::get_if<Motion>(&event)) {
        return call("NotifyPointerMotion")
               << QVariantMap() << static_cast<double>(by->dx) << static_cast<double>(by->dy);
    }
    if (const auto* scroll = std::get_if<Scroll>(&event)) {
        const double notch = axes_.perNotch / kScrollUnitsPerNotch;
        // The port's vertical counts up (away from the user), the desktops' down.
        return call("NotifyPointerAxis")
               << QVariantMap() << axes_.right * notch * scroll->horizontal
               << -axes_.down * notch * scroll->vertical;
    }
    if (std::holds_alternative<ScrollEnd>(event)) {
        return call("NotifyPointerAxis")
               << QVariantMap{{QStringLiteral("finish"), true}} << 0.0 << 0.0;
    }
    const MouseButtonChange change = ChangeOf(std::get<MouseButtonEvent>(event));
    return call("NotifyPointerButton")
           << QVariantMap() << static_cast<int>(EvdevButtonCode(change.button))
           << (change.pressed ? kButtonPressed : 0u);
}

}  // namespace vantrel
