// The desktop services both platforms take from Qt: message boxes, the locale, the file dialog,
// the opener and the process launcher.
#pragma once

#include "platform/desktop/qt/QtFileDialog.h"
#include "platform/desktop/qt/QtLocale.h"
#include "platform/desktop/qt/QtMessageBox.h"
#include "platform/desktop/qt/QtOpener.h"
#include "platform/desktop/qt/QtProcessLauncher.h"

namespace vantrel {

struct QtDesktop {
    QtMessageBox messageBoxes;
    QtLocale locale;
    QtFileDialog fileDialog{nullptr};
    QtOpener opener;
    QtProcessLauncher launcher;
};

}  // namespace vantrel
