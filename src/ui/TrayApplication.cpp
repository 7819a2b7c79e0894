#include "ui/TrayApplication.h"

#include <QApplication>
#include <QLabel>
#include <QSessionManager>
#include <QTimer>
#include <QVBoxLayout>

#include <cstdio>

#include "core/engine/JoystickDiscovery.h"
#include "core/info/Documents.h"
#include "core/language/LanguageChoice.h"
#include "core/language/LanguageMenu.h"
#include "ui/AboutWindow.h"
#include "ui/Look.h"
#include "ui/OptionsDialog.h"
#include "ui/TrayIcon.h"

namespace vantrel {

TrayApplication::TrayApplication(ProgramState& state, const ProgramPorts& ports,
                                 ProgramLocation location, QWidget* parent)
    : QWidget(parent),
      tray_(std::make_unique<TrayIcon>(this)),
      run_(state, ports, std::move(location), *this) {
    setObjectName("Vantrel");
    setWindowTitle("Vantrel");
    setWindowIcon(ProgramIcon());

    pollTimer_ = new QTimer(this);
    pollTimer_->setObjectName("pollTimer");
    // The pointer moves a fixed distance per tick, so its speed follows the tick rate.
    pollTimer_->setTimerType(Qt::PreciseTimer);
    connect(pollTimer_, &QTimer::timeout, this, &TrayApplication::OnPollTick);

    updateCheckTimer_ = new QTimer(this);
    updateCheckTimer_->setObjectName("updateCheckTimer");
    updateCheckTimer_->setSingleShot(true);
    connect(updateCheckTimer_, &QTimer::timeout, this, [this] { run_.OnUpdateCheckDue(); });

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
                vantrel::ReadJoystickInfo(run_.Ports().joystick, run_.State().settings, caps);
            },
        .joystickCount = [this] { return run_.State().joystickCount; },
        .syncRunEntry = [this] { return run_.SyncRunEntryNow(); },
        // Apply and OK come here.
        .saveSettings = [this] { return run_.ApplySettings(); },
    };
    options_ = std::make_unique<OptionsDialogHost>(state.settings, state.texts, std::move(services),
                                                   run_.Ports().launcher, this);
    about_ = std::make_unique<AboutWindowHost>(run_.Ports().opener);

    connect(tray_.get(), &TrayIcon::menuChosen, this, &TrayApplication::OnMenuChosen);
}

// The dialogs go first: they hold references into the state and the ports.
TrayApplication::~TrayApplication() {
    about_.reset();
    options_.reset();
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
    run_.OnPollTick();
    ShowEngineState();
}

void TrayApplication::ShowEngineState() {
    const PollEngine& engine = run_.Engine();
    if (engine.HeldButton() != shownHeld_) {
        shownHeld_ = engine.HeldButton();
        heldButtonLabel_->setText(QString::fromStdString(shownHeld_));
    }
    // Only ticks refresh the position: while the engine sleeps at rest this shows where the
    // pointer was at the last tick, however the real mouse has moved since.
    if (engine.PositionText() != shownPosition_) {
        shownPosition_ = engine.PositionText();
        positionLabel_->setText(QString::fromStdString(shownPosition_));
    }
}

// --- what the run asks of the window ---

void TrayApplication::SetMenuBitmaps() {
    tray_->SetMenuBitmaps();
}

void TrayApplication::ApplyMenuTexts(const LangText& texts) {
    tray_->ApplyMenuTexts(texts);
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

void TrayApplication::StartPollTimer(int intervalMs) {
    pollTimer_->start(intervalMs);
}

void TrayApplication::StopPollTimer() {
    pollTimer_->stop();
}

void TrayApplication::StartUpdateCheckTimer(std::chrono::milliseconds delay) {
    updateCheckTimer_->start(delay);
}

void TrayApplication::StopUpdateCheckTimer() {
    updateCheckTimer_->stop();
}

void TrayApplication::RequestEnd(int status) {
    emit endRequested(status);
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
    ProgramState& state = run_.State();
    ChooseLanguageFromMenu(LanguageMenuContext{
        .settings = state.settings,
        .texts = state.texts,
        .languageRoots = run_.Files().languageRoots,
        .dialogRoot = run_.Files().dialogLanguageRoot,
        .fileDialog = run_.Ports().fileDialog,
        .loadTexts =
            [this](const std::vector<std::filesystem::path>& roots, const std::string& name,
                   LangText& texts) {
                return LoadTextsOrLocaleLanguage(roots, name, run_.Ports().locale, texts);
            },
        .unloadOptionsDialog = [this] { options_->Unload(); },
        .applyMenuTexts = [this] { tray_->ApplyMenuTexts(run_.State().texts); },
        // A failed save keeps the old file and says so; the choice still holds for this run.
        .saveSettings = [this] { static_cast<void>(run_.SaveSettingsOrWarn()); },
    });
}

void TrayApplication::getMoreLanguages() {
    OpenPage(run_.Ports().opener, WebPage::Languages);
}

void TrayApplication::openDonationPage() {
    OpenPage(run_.Ports().opener, WebPage::Donation);
}

void TrayApplication::openUpdatesPage() {
    OpenPage(run_.Ports().opener, WebPage::Product);
}

void TrayApplication::openLicense() {
    OpenLicense(run_.Ports().opener, run_.Location().folder, run_.State().settings.LanguageFile);
}

void TrayApplication::openVersionHistory() {
    OpenVersionHistory(run_.Ports().opener, run_.Location().folder);
}

void TrayApplication::openAbout() {
    about_->Show(run_.State().texts);
}

void TrayApplication::exitProgram() {
    Shutdown();
    emit endRequested(0);
}

}  // namespace vantrel
