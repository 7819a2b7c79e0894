#include "ui/MainWindow.h"

#include <QApplication>
#include <QLabel>
#include <QSessionManager>
#include <QTimer>
#include <QVBoxLayout>

#include "core/engine/JoystickDiscovery.h"
#include "ui/AboutWindow.h"
#include "core/info/Documents.h"
#include "core/info/UpdateCheck.h"
#include "core/language/LanguageChoice.h"
#include "core/text/LanguageFile.h"
#include "core/language/LanguageMenu.h"
#include "ui/OptionsDialog.h"
#include "core/startup/RunEntry.h"
#include "core/settings/SettingsFile.h"
#include "core/shell/Manifest.h"
#include "ui/ShellArtwork.h"
#include "ui/TrayIcon.h"

namespace vantrel {

MainWindow::MainWindow(ProgramState& state, const MainWindowPorts& ports, ProgramLocation location,
                       QWidget* parent)
    : QWidget(parent),
      state_(state),
      ports_(ports),
      location_(std::move(location)),
      engine_(ports.joystick, ports.pointer, ports.buttons, state.settings),
      startup_(state, *this, location_.BaseName()),
      tray_(std::make_unique<TrayIcon>(this)) {
    setObjectName("Vantrel");
    setWindowTitle("Vantrel");
    setWindowIcon(ProgramIcon());

    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    // The pointer moves a fixed distance per tick, so its speed follows the tick rate.
    Timer1->setTimerType(Qt::PreciseTimer);
    connect(Timer1, &QTimer::timeout, this, &MainWindow::Timer1_Timer);

    Label1 = new QLabel(this);
    Label1->setObjectName("Label1");
    Label2 = new QLabel(this);
    Label2->setObjectName("Label2");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Label2);

    OptionsServices services{
        .readJoystickCaps =
            [this](JoystickInfo& caps) {
                vantrel::ReadJoystickInfo(ports_.joystick, state_.settings, caps);
            },
        .joystickCount = [this] { return state_.joystickCount; },
        .syncRunEntry = [this] { return SyncCurrentRunEntry(); },
        .saveSettings = [this] { return SaveCurrentSettings(); },
    };
    options_ = std::make_unique<OptionsDialogHost>(state_.settings, state_.texts,
                                                   std::move(services), ports_.launcher, this);
    about_ = std::make_unique<AboutWindowHost>(ports_.opener);

    connect(tray_.get(), &TrayIcon::mnuDef_Click, this, &MainWindow::mnuDef_Click);
    connect(tray_.get(), &TrayIcon::mnuLingua_Click, this, &MainWindow::mnuLingua_Click);
    connect(tray_.get(), &TrayIcon::mnuAggLingua_Click, this, &MainWindow::mnuAggLingua_Click);
    connect(tray_.get(), &TrayIcon::mnuDonazione_Click, this, &MainWindow::mnuDonazione_Click);
    connect(tray_.get(), &TrayIcon::mnuAggiornamenti_Click, this,
            &MainWindow::mnuAggiornamenti_Click);
    connect(tray_.get(), &TrayIcon::mnuLicenza_Click, this, &MainWindow::mnuLicenza_Click);
    connect(tray_.get(), &TrayIcon::mnuVersioni_Click, this, &MainWindow::mnuVersioni_Click);
    connect(tray_.get(), &TrayIcon::mnuAbout_Click, this, &MainWindow::mnuAbout_Click);
    connect(tray_.get(), &TrayIcon::mnuExit_Click, this, &MainWindow::mnuExit_Click);
}

// The dialogs go first: they hold references into the state and the ports.
MainWindow::~MainWindow() {
    about_.reset();
    options_.reset();
}

void MainWindow::Form_Initialize() {
    startup_.Initialize();
}

StartOutcome MainWindow::Form_Load() {
    return startup_.Load();
}

void MainWindow::Form_Unload() {
    if (endedAtOnce_) return;
    Timer1->stop();
    engine_.ReleaseHeldButton();
    startup_.Unload();
}

void MainWindow::ConnectShutdown(QCoreApplication& app) {
    connect(this, &MainWindow::endRequested, &app, &QCoreApplication::exit, Qt::QueuedConnection);
    if (auto* gui = qobject_cast<QGuiApplication*>(&app)) {
        // The session manager may still cancel the logout, so this only saves.
        connect(gui, &QGuiApplication::commitDataRequest, this,
                [this](QSessionManager&) { static_cast<void>(SaveSettingsNow()); });
    }
    connect(&app, &QCoreApplication::aboutToQuit, this, &MainWindow::Form_Unload);
}

void MainWindow::Timer1_Timer() {
    engine_.Tick();
    ShowEngineState();
}

void MainWindow::ShowEngineState() {
    if (engine_.HeldButton() != shownHeld_) {
        shownHeld_ = engine_.HeldButton();
        Label1->setText(QString::fromStdString(shownHeld_));
    }
    if (engine_.PositionText() != shownPosition_) {
        shownPosition_ = engine_.PositionText();
        Label2->setText(QString::fromStdString(shownPosition_));
    }
}

// --- start-up and shutdown steps ---

void MainWindow::WriteManifest() {
    // Start-up goes on whatever happened; the next start tries again.
    static_cast<void>(
        vantrel::WriteManifest(location_.folder, location_.BaseName(), ports_.manifestPlatform));
}

void MainWindow::SetMenuBitmaps() {
    tray_->SetMenuBitmaps();
}

int MainWindow::CountJoysticks() {
    const int count = vantrel::CountJoysticks(ports_.joystick);
    engine_.SetJoystickCount(count);
    return count;
}

SettingsLoad MainWindow::LoadSettings(Settings& settings) {
    return vantrel::LoadSettings(SettingsPath(location_.folder), settings);
}

void MainWindow::ChooseLanguageFromLocale(Settings& settings) {
    vantrel::ChooseLanguageFromLocale(settings, ports_.locale);
}

void MainWindow::LoadTexts(const std::string& languageFile, LangText& texts) {
    // A file that cannot be read leaves the texts as they were.
    static_cast<void>(vantrel::LoadTexts(location_.folder, languageFile, texts));
}

void MainWindow::ApplyMenuTexts(const LangText& texts) {
    tray_->ApplyMenuTexts(texts);
}

void MainWindow::SyncRunEntry(const Settings& settings) {
    // Failures leave the entry as it was; there is nobody to tell.
    static_cast<void>(vantrel::SyncRunEntry(ports_.runEntry, settings, location_.executable));
}

bool MainWindow::AnotherInstanceRunning() {
    return ports_.anotherInstanceRunning && ports_.anotherInstanceRunning();
}

void MainWindow::ReadJoystickInfo(const Settings& settings, JoystickInfo& caps) {
    vantrel::ReadJoystickInfo(ports_.joystick, settings, caps);
}

void MainWindow::ShowWarning(const std::string& title, const std::string& text) {
    ports_.messageBoxes.Warning(title, text);
}

void MainWindow::StartPolling(int intervalMs) {
    Timer1->start(intervalMs);
}

void MainWindow::AddTrayIcon() {
    tray_->AddTrayIcon(windowIcon());
}

void MainWindow::RemoveTrayIcon() {
    tray_->RemoveTrayIcon();
}

void MainWindow::HideMainWindow() {
    hide();
}

void MainWindow::CheckForUpdates() {
    vantrel::CheckForUpdates(UpdateCheckPorts{
        .http = ports_.http,
        .boxes = ports_.messageBoxes,
        .opener = ports_.opener,
        .texts = state_.texts,
        .endAtOnce = [this] { EndAtOnce(); },
    });
}

bool MainWindow::SaveSettings(const Settings& settings) {
    return vantrel::SaveSettings(SettingsPath(location_.folder), settings);
}

bool MainWindow::SaveCurrentSettings() {
    return SaveSettings(state_.settings);
}

bool MainWindow::SyncCurrentRunEntry() {
    return vantrel::SyncRunEntry(ports_.runEntry, state_.settings, location_.executable);
}

void MainWindow::EndAtOnce() {
    // Nothing is saved, but no mouse button may stay pressed behind the program.
    Timer1->stop();
    engine_.ReleaseHeldButton();
    endedAtOnce_ = true;
    emit endRequested(0);
}

// --- the tray menu ---

void MainWindow::mnuDef_Click() {
    options_->Open();
}

void MainWindow::mnuLingua_Click() {
    ChooseLanguageFromMenu(LanguageMenuContext{
        .settings = state_.settings,
        .texts = state_.texts,
        .programFolder = location_.folder,
        .fileDialog = ports_.fileDialog,
        .unloadOptionsDialog = [this] { options_->Unload(); },
        .applyMenuTexts = [this] { tray_->ApplyMenuTexts(state_.texts); },
        // A failed save keeps the old file; the choice still holds for this run.
        .saveSettings = [this] { static_cast<void>(SaveCurrentSettings()); },
    });
}

void MainWindow::mnuAggLingua_Click() {
    OpenPage(ports_.opener, WebPage::Languages);
}

void MainWindow::mnuDonazione_Click() {
    OpenPage(ports_.opener, WebPage::Donation);
}

void MainWindow::mnuAggiornamenti_Click() {
    OpenPage(ports_.opener, WebPage::Product);
}

void MainWindow::mnuLicenza_Click() {
    OpenLicense(ports_.opener, location_.folder, state_.settings.LanguageFile);
}

void MainWindow::mnuVersioni_Click() {
    OpenVersionHistory(ports_.opener, location_.folder);
}

void MainWindow::mnuAbout_Click() {
    about_->Show(state_.texts);
}

void MainWindow::mnuExit_Click() {
    Form_Unload();
    emit endRequested(0);
}

}  // namespace vantrel
