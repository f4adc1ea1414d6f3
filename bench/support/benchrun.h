#pragma once

// What every console bench needs to time a step and wait for the console.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QList>
#include <QTimer>

#include <algorithm>
#include <functional>

namespace benchrun {

inline double timeMs(const std::function<void()> &work)
{
    QElapsedTimer clock;
    clock.start();
    work();
    return double(clock.nsecsElapsed()) / 1e6;
}

inline double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values.at(values.size() / 2);
}

// Runs the event loop until the condition holds. The loop sleeps between
// events as the console's own does: a wait that spins would take a core from
// the development server and the connection's thread and slow what is timed.
inline bool waitFor(const std::function<bool()> &condition, int timeoutMs = 600000)
{
    QElapsedTimer clock;
    clock.start();
    QTimer wake; // checks the condition and the deadline when no event comes
    wake.start(5);
    while (!condition()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

} // namespace benchrun
