#include "ui/cli/QtScriptClock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

bool QtScriptClock::WaitUntil(const std::function<bool()>& done, long ms)
{
    QElapsedTimer elapsed;
    elapsed.start();
    // Wakes the loop at the deadline; every other event is checked against
    // done() as soon as it has run.
    QTimer deadline;
    deadline.setTimerType(Qt::PreciseTimer);
    deadline.setSingleShot(true);
    deadline.start(static_cast<int>(ms));
    while (!done()) {
        if (elapsed.elapsed() >= ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        // The script runs outside any event loop, where processEvents leaves
        // deleteLater's objects alone: each would stay to the end.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return true;
}
