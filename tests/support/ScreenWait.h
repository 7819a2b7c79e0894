// Waiting on a real display: run the event loop until something holds, and look at what the
// screen shows.
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPixmap>
#include <QRect>
#include <QScreen>

#include "support/EventLoopWait.h"

namespace vantrel::test {

// Counts the mouse button releases the application's windows have taken in. A test of what a
// click must not do waits until the click's release has arrived, then looks: a fixed pause
// would look too early on a busy machine.
class ReleaseCounter : public QObject {
  public:
    ReleaseCounter() { QCoreApplication::instance()->installEventFilter(this); }
    ~ReleaseCounter() override { QCoreApplication::instance()->removeEventFilter(this); }
    ReleaseCounter(const ReleaseCounter&) = delete;
    ReleaseCounter& operator=(const ReleaseCounter&) = delete;

    // Runs the event loop until `count` releases of `button` have arrived in all.
    bool WaitFor(Qt::MouseButton button, int count) {
        const bool arrived = test::WaitFor([&] { return released_[Slot(button)] >= count; });
        QCoreApplication::processEvents();  // what the release posted
        return arrived;
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // Each release reaches a window first, then its widgets: counted at the window only.
        if (event->type() == QEvent::MouseButtonRelease && watched->isWindowType())
            ++released_[Slot(static_cast<QMouseEvent*>(event)->button())];
        return false;
    }

  private:
    static int Slot(Qt::MouseButton button) {
        return button == Qt::LeftButton ? 0 : button == Qt::RightButton ? 1 : 2;
    }
    int released_[3] = {};
};

// Counts the clearly red pixels (the joystick's knob of the program icon) on the screen inside
// `area`.
inline int RedPixels(const QRect& area) {
    const QImage shot = QGuiApplication::primaryScreen()
                            ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
                            .toImage();
    int red = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            const QRgb p = shot.pixel(x, y);
            red += qRed(p) > 150 && qGreen(p) < 110 && qBlue(p) < 110;
        }
    return red;
}

}  // namespace vantrel::test
