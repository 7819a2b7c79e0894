#include "ui/TrayApplication.h"

#include <QApplication>
#include <QLabel>
#include <QSessionManager>
#include <QTimer>
#include <QVBoxLayout>

#include "core/engine/JoystickDiscovery.h"
#include "core/info/Documents.h"
#include "core/info/UpdateCheck.h"
#include "core/language/LanguageChoice.h"
#include "core/language/LanguageMenu.h"
#include "core/settings/SettingsFile.h"
#include "core/startup/Manifest.h"
#include "core/startup/RunEntry.h"
#include "core/text/LanguageFile.h"
#include "ui/AboutWindow.h"
#include "ui/Look.h"
#include "ui/OptionsDialog.h"
#include "ui/TrayIcon.h"

namespace vantrel {

TrayApplication::TrayApplication(ProgramState& state, const TrayApplicationPorts& ports,
                                 ProgramLocation location, QWidget* parent)
    : QWidget(parent),
      state_(state),
      ports_(ports),
      location_(std::move(location)),
      engine_(ports.joystick, ports.pointer, ports.buttons, state.settings),
      scheduler_(engine_, ports.joystick, *this, ports.wake ? *ports.wake : noWakeSource_),
      startup_(state, *this, location_.BaseName()),
      tray_(std::make_unique<TrayIcon>(this)) {
    setObjectName("Vantrel");
    setWindowTitle("Vantrel");
    setWindowIcon(ProgramIcon());

    pollTimer_ = new QTimer(this);
    pollTimer_->setObjectName("pollTimer");
    // The pointer moves a fixed distance per tick, so its speed follows the tick rate.
    pollTimer_->setTimerType(Qt::PreciseTimer);
    connect(pollTimer_, &QTimer::timeout, this, &TrayApplication::OnPollTick);

    heldButtonLabel_ = new QLabel(this);
    heldButtonLabel_->setObjectName("heldButtonLabel");
    positionLabel_ = new QLabel(this);
    positionLabel_->setObjectName("positionLabel");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heldButtonLabel_);
    layout->addWidget(positionLabel_);

    OptionsServices services{
        .readJoystickCaps =
            [this](JoystickInfo& caps) {
                vantrel::ReadJoystickInfo(ports_.joystick, state_.settings, caps);
            },
        .joystickCount = [this] { return state_.joystickCount; },
        .syncRunEntry = [this] { return SyncCurrentRunEntry(); },
        .saveSettings =
            [this] {
                // Apply and OK come here: a sleeping engine takes the new values now.
                scheduler_.OnSettingsChanged();
                return SaveCurrentSettings();
            },
    };
    options_ = std::make_unique<OptionsDialogHost>(state_.settings, state_.texts,
                                                   std::move(services), ports_.launcher, this);
    about_ = std::make_unique<AboutWindowHost>(ports_.opener);

    connect(tray_.get(), &TrayIcon::menuChosen, this, &TrayApplication::OnMenuChosen);
}

// The dialogs go first: they hold references into the state and the ports.
TrayApplication::~TrayApplication() {
    about_.reset();
    options_.reset();
}

void TrayApplication::Initialize() {
    startup_.Initialize();
}

StartOutcome TrayApplication::Start() {
    return startup_.Start();
}

void TrayApplication::Shutdown() {
    if (endedAtOnce_) return;
    scheduler_.Stop();
    engine_.ReleaseHeldButton();
    startup_.Shutdown();
}

void TrayApplication::ConnectShutdown(QCoreApplication& app) {
    connect(this, &TrayApplication::endRequested, &app, &QCoreApplication::exit,
            Qt::QueuedConnection);
    if (auto* gui = qobject_cast<QGuiApplication*>(&app)) {
        // The session manager may still cancel the logout, so this only saves.
        connect(gui, &QGuiApplication::commitDataRequest, this,
                [this](QSessionManager&) { static_cast<void>(SaveSettingsNow()); });
    }
    connect(&app, &QCoreApplication::aboutToQuit, this, &TrayApplication::Shutdown);
}

void TrayApplication::OnPollTick() {
    scheduler_.OnTimer();
    ShowEngineState();
}

void TrayApplication::ShowEngineState() {
    if (engine_.HeldButton() != shownHeld_) {
        shownHeld_ = engine_.HeldButton();
        heldButtonLabel_->setText(QString::fromStdString(shownHeld_));
    }
    // Only ticks refresh the position: while the engine sleeps at rest this shows where the
    // pointer was at the last tick, however the real mouse has moved since.
    if (engine_.PositionText() != shownPosition_) {
        shownPosition_ = engine_.PositionText();
        positionLabel_->setText(QString::fromStdString(shownPosition_));
    }
}

// --- start-up and shutdown steps ---

void TrayApplication::WriteManifest() {
    // Start-up goes on whatever happened; the next start tries again.
    static_cast<void>(
        vantrel::WriteManifest(location_.folder, location_.BaseName(), ports_.manifestPlatform));
}

void TrayApplication::SetMenuBitmaps() {
    tray_->SetMenuBitmaps();
}

int TrayApplication::CountJoysticks() {
    const int count = vantrel::CountJoysticks(ports_.joystick);
    engine_.SetJoystickCount(count);
    return count;
}

SettingsLoad TrayApplication::LoadSettings(Settings& settings) {
    return vantrel::LoadSettings(SettingsPath(location_.folder), settings);
}

void TrayApplication::ChooseLanguageFromLocale(Settings& settings) {
    vantrel::ChooseLanguageFromLocale(settings, ports_.locale);
}

void TrayApplication::LoadTexts(const std::string& languageFile, LangText& texts) {
    // When not even English can be read the built-in texts stay; the run goes on.
    static_cast<void>(
        LoadTextsOrLocaleLanguage(location_.folder, languageFile, ports_.locale, texts));
}

void TrayApplication::ApplyMenuTexts(const LangText& texts) {
    tray_->ApplyMenuTexts(texts);
}

void TrayApplication::SyncRunEntry(const Settings& settings) {
    // Failures leave the entry as it was; there is nobody to tell.
    static_cast<void>(vantrel::SyncRunEntry(ports_.runEntry, settings, location_.executable));
}

bool TrayApplication::AnotherInstanceRunning() {
    return ports_.anotherInstanceRunning && ports_.anotherInstanceRunning();
}

void TrayApplication::ReadJoystickInfo(const Settings& settings, JoystickInfo& caps) {
    vantrel::ReadJoystickInfo(ports_.joystick, settings, caps);
}

void TrayApplication::ShowWarning(const std::string& title, const std::string& text) {
    ports_.messageBoxes.Warning(title, text);
}

void TrayApplication::StartPolling(int intervalMs) {
    pollIntervalMs_ = intervalMs;
    scheduler_.Start();
}

void TrayApplication::StartTicking() {
    pollTimer_->start(pollIntervalMs_);
}

void TrayApplication::StopTicking() {
    pollTimer_->stop();
}

void TrayApplication::AddTrayIcon() {
    tray_->AddTrayIcon(windowIcon());
}

void TrayApplication::RemoveTrayIcon() {
    tray_->RemoveTrayIcon();
}

void TrayApplication::HideWindow() {
    hide();
}

void TrayApplication::CheckForUpdates() {
    vantrel::CheckForUpdates(UpdateCheckPorts{
        .http = ports_.http,
        .boxes = ports_.messageBoxes,
        .opener = ports_.opener,
        .texts = state_.texts,
        .endAtOnce = [this] { EndAtOnce(); },
    });
}

bool TrayApplication::SaveSettings(const Settings& settings) {
    return vantrel::SaveSettings(SettingsPath(location_.folder), settings);
}

bool TrayApplication::SaveCurrentSettings() {
    return SaveSettings(state_.settings);
}

bool TrayApplication::SyncCurrentRunEntry() {
    return vantrel::SyncRunEntry(ports_.runEntry, state_.settings, location_.executable);
}

void TrayApplication::EndAtOnce() {
    // Nothing is saved, but no mouse button may stay pressed behind the program.
    scheduler_.Stop();
    engine_.ReleaseHeldButton();
    endedAtOnce_ = true;
    emit endRequested(0);
}

// --- the tray menu ---

void TrayApplication::OnMenuChosen(MenuAction action) {
    switch (action) {
        case MenuAction::OpenOptions:
            return openOptions();
        case MenuAction::ChooseLanguage:
            return chooseLanguage();
        case MenuAction::GetMoreLanguages:
            return getMoreLanguages();
        case MenuAction::OpenDonationPage:
            return openDonationPage();
        case MenuAction::OpenUpdatesPage:
            return openUpdatesPage();
        case MenuAction::OpenLicense:
            return openLicense();
        case MenuAction::OpenVersionHistory:
            return openVersionHistory();
        case MenuAction::OpenAbout:
            return openAbout();
        case MenuAction::Exit:
            return exitProgram();
        case MenuAction::None:
            return;
    }
}

void TrayApplication::openOptions() {
    options_->Open();
}

void TrayApplication::chooseLanguage() {
    ChooseLanguageFromMenu(LanguageMenuContext{
        .settings = state_.settings,
        .texts = state_.texts,
        .programFolder = location_.folder,
        .fileDialog = ports_.fileDialog,
        .loadTexts =
            [this](const std::filesystem::path& folder, const std::string& name, LangText& texts) {
                return LoadTextsOrLocaleLanguage(folder, name, ports_.locale, texts);
            },
        .unloadOptionsDialog = [this] { options_->Unload(); },
        .applyMenuTexts = [this] { tray_->ApplyMenuTexts(state_.texts); },
        // A failed save keeps the old file; the choice still holds for this run.
        .saveSettings = [this] { static_cast<void>(SaveCurrentSettings()); },
    });
}

void TrayApplication::getMoreLanguages() {
    OpenPage(ports_.opener, WebPage::Languages);
}

void TrayApplication::openDonationPage() {
    OpenPage(ports_.opener, WebPage::Donation);
}

void TrayApplication::openUpdatesPage() {
    OpenPage(ports_.opener, WebPage::Product);
}

void TrayApplication::openLicense() {
    OpenLicense(ports_.opener, location_.folder, state_.settings.LanguageFile);
}

void TrayApplication::openVersionHistory() {
    OpenVersionHistory(ports_.opener, location_.folder);
}

void TrayApplication::openAbout() {
    about_->Show(state_.texts);
}

void TrayApplication::exitProgram() {
    Shutdown();
    emit endRequested(0);
}

}  // namespace vantrel
