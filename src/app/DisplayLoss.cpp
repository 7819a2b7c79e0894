#include "app/DisplayLoss.h"

#include <QCoreApplication>
#include <QString>
#include <QThread>
#include <QtGlobal>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace vantrel {

namespace {

// A message handler has no place for its own data: the one watch and the handler before it,
// both set before the event loop runs.
const std::function<bool()>* g_save = nullptr;
QtMessageHandler g_previous = nullptr;
bool g_ending = false;

// The plugins' last words (Qt 6): the xcb plugin's, for its own connection and for every Xlib
// one (the X11 pointer output's too), and the Wayland plugin's; each ends the process next.
bool SaysDisplayIsGone(const QString& text) {
    return text.startsWith(QLatin1String("The X11 connection broke")) ||
           text.startsWith(QLatin1String("The Wayland connection broke"));
}

// On the event loop's thread: save, say so, end.
void EndForLostDisplay() {
    // Once: the Wayland plugin's thread and the event loop's may both report the loss. A loss
    // met while this runs (a held button let go through a dead X connection) would never reach
    // the watch, since Qt keeps a handler's own messages from it: the outputs must not meet one.
    if (!g_ending && g_save != nullptr) {
        g_ending = true;
        const bool saved = (*g_save)();
        std::fputs(saved ? "vantrel: the display is gone (the session ended); settings saved\n"
                         : "vantrel: the display is gone (the session ended); the settings "
                           "could not be saved\n",
                   stderr);
    }
    std::fflush(nullptr);
    // Not exit(): Qt's objects still hold the dead connection, and their destructors would use
    // it. The plugins end the same way.
    std::_Exit(0);
}

void OnMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    QCoreApplication* app = QCoreApplication::instance();
    if (g_save == nullptr || app == nullptr || type == QtDebugMsg || type == QtInfoMsg ||
        !SaysDisplayIsGone(text)) {
        if (g_previous != nullptr) g_previous(type, context, text);
        return;
    }
    if (QThread::currentThread() == app->thread()) EndForLostDisplay();
    // Qt's Wayland plugin reads on a thread of its own and ends the process from there once
    // this returns: the event loop's thread ends it first, and this one waits for that.
    QMetaObject::invokeMethod(app, &EndForLostDisplay, Qt::QueuedConnection);
    std::this_thread::sleep_for(std::chrono::seconds(10));
    // The loop never came (it should not block that long): the plugin's own end follows.
    if (g_previous != nullptr) g_previous(type, context, text);
}

}  // namespace

DisplayLossWatch::DisplayLossWatch(std::function<bool()> save) : save_(std::move(save)) {
    g_save = &save_;
    g_previous = qInstallMessageHandler(OnMessage);
}

DisplayLossWatch::~DisplayLossWatch() {
    qInstallMessageHandler(g_previous);
    g_save = nullptr;
}

}  // namespace vantrel
