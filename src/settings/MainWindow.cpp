#include "settings/MainWindow.h"

#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

namespace vantrel {

namespace {
constexpr int kPollIntervalMs = 5;
}

MainWindow::MainWindow(JoystickPort& joystick, PointerPort& pointer, MouseButtonPort& buttons,
                       Settings& settings, int joystickCount, QWidget* parent)
    : QWidget(parent), settings_(settings), engine_(joystick, pointer, buttons, settings) {
    setObjectName("Vantrel");
    engine_.SetJoystickCount(joystickCount);

    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    // The pointer moves a fixed distance per tick, so its speed follows the tick rate.
    Timer1->setTimerType(Qt::PreciseTimer);
    Timer1->setInterval(kPollIntervalMs);
    connect(Timer1, &QTimer::timeout, this, &MainWindow::Timer1_Timer);

    Label1 = new QLabel(this);
    Label1->setObjectName("Label1");
    Label2 = new QLabel(this);
    Label2->setObjectName("Label2");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Label2);
}

void MainWindow::StartPolling() {
    Timer1->start(kPollIntervalMs);
}

void MainWindow::Timer1_Timer() {
    engine_.Tick();
    if (engine_.HeldButton() != shownHeld_) {
        shownHeld_ = engine_.HeldButton();
        Label1->setText(QString::fromStdString(shownHeld_));
    }
    if (engine_.PositionText() != shownPosition_) {
        shownPosition_ = engine_.PositionText();
        Label2->setText(QString::fromStdString(shownPosition_));
    }
}

}  // namespace vantrel
