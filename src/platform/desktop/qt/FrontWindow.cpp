#include "platform/desktop/qt/FrontWindow.h"

#include <QTimer>
#include <QWidget>

namespace vantrel {

void BringToFrontWhenShown(QWidget& window) {
    // Queued, so it runs inside the dialog's own event loop, after the window is mapped.
    QTimer::singleShot(0, &window, [&window] {
        window.raise();
        window.activateWindow();
    });
}

}  // namespace vantrel
