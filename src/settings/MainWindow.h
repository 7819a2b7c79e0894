// The hidden main window: owns the poll timer and the engine, shows the engine's state in two
// labels.
#pragma once

#include <QWidget>
#include <string>

#include "engine/JoystickPort.h"
#include "engine/MouseButtonPort.h"
#include "engine/PointerPort.h"
#include "engine/PollEngine.h"
#include "settings/Settings.h"

class QLabel;
class QTimer;

namespace vantrel {

class MainWindow : public QWidget {
    Q_OBJECT

  public:
    // The ports and the settings record must outlive the window.
    MainWindow(JoystickPort& joystick, PointerPort& pointer, MouseButtonPort& buttons,
               Settings& settings, int joystickCount, QWidget* parent = nullptr);

    // Starts Timer1 at 5 ms.
    void StartPolling();

    Settings& CurrentSettings() { return settings_; }
    PollEngine& Engine() { return engine_; }
    int JoystickCount() const { return engine_.JoystickCount(); }

    QTimer* Timer1 = nullptr;
    QLabel* Label1 = nullptr;  // the held mouse button
    QLabel* Label2 = nullptr;  // the last pointer position

  public slots:
    // One poll; the labels change only when their texts do.
    void Timer1_Timer();

  private:
    Settings& settings_;
    PollEngine engine_;
    std::string shownHeld_;
    std::string shownPosition_;
};

}  // namespace vantrel
