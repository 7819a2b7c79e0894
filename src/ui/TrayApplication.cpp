#include "ui/TrayApplication.h"

#include <QApplication>
#include <QLabel>
#include <QSessionManager>
#include <QTimer>
#include <QVBoxLayout>

#include <cstdio>

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

    options_ = std::make_unique<OptionsDialogHost>(state.settings, state.texts,
                                                   run_.DialogServices(), ports.launcher, this);
    about_ = std::make_unique<AboutWindowHost>(ports.opener);

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
                [this](QSessionManager&) { static_cast<void>(run_.SaveSettingsNow()); });
    }
    connect(&app, &QCoreApplication::aboutToQuit, this, [this] { run_.Shutdown(); });
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

void TrayApplication::ShowTrayState(TrayState state, const LangText& texts) {
    tray_->ShowState(state, texts);
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

void TrayApplication::StartTicking() {
    pollTimer_->start(kPollIntervalMs);
}

void TrayApplication::StopTicking() {
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

void TrayApplication::OpenOptions() {
    options_->Open();
}

void TrayApplication::OpenAbout(const LangText& texts) {
    about_->Show(texts);
}

void TrayApplication::UnloadOptions() {
    options_->Unload();
}

}  // namespace vantrel
