#include "ProgramRig.h"

#include <fcntl.h>
#include <unistd.h>

#include <QEventLoop>

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QSystemTrayIcon>
#include <filesystem>
#include <optional>

#include "BenchCommon.h"
#include "CountingPointer.h"
#include "core/settings/SettingsFile.h"
#include "integration/VirtualPad.h"
#include "platform/desktop/qt/QtLocale.h"
#include "platform/joystick/sdl/SdlJoysticks.h"
#include "platform/pointer/xtest/X11Pointer.h"
#include "platform/wake/udev/UdevWakeSource.h"
#include "support/ScriptedJoystick.h"
#include "support/TempDir.h"
#include "support/fakes/FakeFileDialog.h"
#include "support/fakes/FakeHttpFetch.h"
#include "support/fakes/FakeMessageBox.h"
#include "support/fakes/FakeOpener.h"
#include "support/fakes/FakeProcessLauncher.h"
#include "support/fakes/FakeRunEntry.h"
#include "ui/AboutWindow.h"
#include "ui/OptionsDialog.h"
#include "ui/TrayApplication.h"
#include "ui/TrayIcon.h"

namespace vantrel::bench {

void RunLoop(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

namespace fs = std::filesystem;

struct ProgramRig::Parts {
    explicit Parts(const test::EvdevPad* scriptedPad)
        : scripted(scriptedPad ? std::make_unique<test::ScriptedJoystick>(7, *scriptedPad)
                               : nullptr) {
        if (scripted)
            wake.emplace([this](int id) { return joysticks.DeviceNode(id); }, true,
                         [this](int id) { return joysticks.ScrollAxisCodes(id); });
        else
            pad.emplace("Vantrel Test Pad", 6);
    }

    test::TempDir folder;
    // Before SDL starts, so that its first scan finds it.
    std::unique_ptr<test::ScriptedJoystick> scripted;
    SdlJoysticks joysticks;
    std::optional<test::VirtualPad> pad;
    std::optional<UdevWakeSource> wake;
    std::uint64_t ticks = 0;
    X11Pointer x11;
    CountingPointer pointer{x11};
    FakeMessageBox boxes;
    FakeRunEntry runEntry;
    QtLocale locale;
    FakeFileDialog fileDialog;
    FakeOpener opener;
    FakeHttpFetch http;  // the update check waits for an answer that never comes
    test::FakeProcessLauncher launcher;
    NoManifestPlatform manifestPlatform;
    ProgramState state;
    std::unique_ptr<TrayApplication> window;
};

ProgramRig::ProgramRig(WakeSourcePort* wake) : parts_(std::make_unique<Parts>(nullptr)) {
    Build(wake);
}

ProgramRig::ProgramRig(Scripted scripted) : parts_(std::make_unique<Parts>(scripted.pad)) {
    Build(&*parts_->wake);
}

void ProgramRig::Build(WakeSourcePort* wake) {
    Parts& p = *parts_;
    const bool padReady = p.pad ? p.pad->Attached() : p.scripted->Ready();
    if (!p.joysticks.Ready() || !p.x11.Connected() || !padReady) {
        problem_ = "SDL, the X display or the joystick did not start";
        return;
    }
    // A program folder as installed, with a settings file from an earlier run: the start-up
    // then also picks the language and reads its file.
    std::error_code error;
    fs::copy(fs::path(VANTREL_SOURCE_DIR) / "resources" / "Lang", p.folder / "Lang", error);
    Settings settings = DefaultSettings();
    settings.JoystickId = static_cast<std::int16_t>(p.pad ? p.pad->Index() : 0);
    if (error || !SaveSettings(SettingsPath(p.folder.path()), settings)) {
        problem_ = "could not lay out a program folder";
        return;
    }
    p.window = std::make_unique<TrayApplication>(
        p.state,
        ProgramPorts{
            .joystick = p.joysticks,
            .pointer = p.pointer,
            .buttons = p.x11,
            .messageBoxes = p.boxes,
            .runEntry = p.runEntry,
            .locale = p.locale,
            .fileDialog = p.fileDialog,
            .opener = p.opener,
            .http = p.http,
            .launcher = p.launcher,
            .manifestPlatform = p.manifestPlatform,
            .anotherInstanceRunning = [] { return false; },
            .wake = wake,
            .scroll = &p.x11,
        },
        ProgramLocation{.folder = p.folder.path(), .executable = p.folder / "vantrel"});
    QObject::connect(p.window->PollTimer(), &QTimer::timeout, [&p] { ++p.ticks; });
}

ProgramRig::~ProgramRig() {
    if (parts_->window) parts_->window->Run().Shutdown();
}

void ProgramRig::Start() {
    if (!parts_->window) return;
    parts_->window->Run().Initialize();
    if (parts_->window->Run().Start() != StartOutcome::Running) problem_ = "start-up ended early";
}

QTimer& ProgramRig::PollTimer() {
    return *parts_->window->PollTimer();
}

std::uint64_t ProgramRig::PointerRoundTrips() const {
    return parts_->x11.RoundTrips();
}

std::uint64_t ProgramRig::PointerWaits() const {
    return parts_->x11.Waits();
}

void ProgramRig::SetFreshDisplayReads(bool fresh) {
    parts_->pointer.freshForDisplay = fresh;
}

void ProgramRig::SetReadAndPlace(bool readAndPlace) {
    parts_->pointer.readAndPlace = readAndPlace;
}

void ProgramRig::MoveStick(int x, int y) {
    if (parts_->pad)
        static_cast<void>(parts_->pad->SetAxes(static_cast<Sint16>(x), static_cast<Sint16>(y)));
    else
        parts_->scripted->Report(x, y, 0);
}

bool ProgramRig::MoveScrollStick(int x, int y) {
    return parts_->pad && parts_->pad->SetAxis(2, static_cast<Sint16>(x)) &&
           parts_->pad->SetAxis(3, static_cast<Sint16>(y));
}

test::ScriptedJoystick* ProgramRig::ScriptedPad() {
    return parts_->scripted.get();
}

std::uint64_t ProgramRig::Ticks() const {
    return parts_->ticks;
}

unsigned long ProgramRig::EmulatedReads() const {
    return parts_->scripted ? parts_->scripted->Reads() : 0;
}

std::uint64_t ProgramRig::Placements() const {
    return parts_->pointer.placements;
}

double ProgramRig::WakeUpsPerEmulatedRead() {
    if (!parts_->scripted) return 0;
    const int fd = open(parts_->scripted->Node().c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return 0;
    constexpr int kReads = 400;
    char buffer[24 * 64];
    const long before = MainThreadContextSwitches();
    for (int i = 0; i < kReads; ++i) static_cast<void>(read(fd, buffer, sizeof buffer));
    const long switches = MainThreadContextSwitches() - before;
    close(fd);
    return double(switches) / kReads;
}

bool ProgramRig::Asleep() {
    return parts_->window && parts_->window->Run().Scheduler().Asleep();
}

TrayApplication& ProgramRig::Window() {
    return *parts_->window;
}

OptionsDialog* ProgramRig::OpenOptionsDialog() {
    return parts_->window->Options().Dialog();
}

AboutWindow* ProgramRig::OpenAboutWindow() {
    return parts_->window->About().Window();
}

void ProgramRig::ChooseLanguage(const std::string& file) {
    parts_->fileDialog.answer = std::vector<std::string>{(parts_->folder / "Lang" / file).string()};
    parts_->window->OnMenuChosen(MenuAction::ChooseLanguage);
}

bool ProgramRig::TrayIconShown() {
    if (!parts_->window) return false;
    const QRect area = parts_->window->Tray().SystemTrayIcon().geometry();
    if (!area.isValid() || area.width() <= 0) return false;
    // Embedded is not yet drawn: wait for the picture's red knob on the screen.
    const QImage shot = QGuiApplication::primaryScreen()
                            ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
                            .toImage();
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            const QRgb p = shot.pixel(x, y);
            if (qRed(p) > 150 && qGreen(p) < 110 && qBlue(p) < 110) return true;
        }
    return false;
}

}  // namespace vantrel::bench
