// Waiting on the event loop (Qt Core alone): run it until something holds, or for a while.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <functional>

namespace vantrel::test {

// Runs the event loop until `done` holds or `ms` have passed; false on the time-out.
inline bool WaitFor(const std::function<bool()>& done, int ms = 5000) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > ms) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

// Runs the event loop for `ms`, for what must not happen: the input it would come from has to
// be there already.
inline void Settle(int ms) {
    WaitFor([] { return false; }, ms);
}

}  // namespace vantrel::test
