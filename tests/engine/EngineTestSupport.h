#pragma once

#include "platform/ProcessTable.h"
#include "support/QtPrinters.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>

#include <csignal>
#include <functional>
#include <ostream>

// Runs the event loop until the condition holds or the time is up; returns the condition.
inline bool waitUntil(const std::function<bool()> &condition, int timeoutMs = 10000)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition() && clock.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 10);
    return condition();
}

// Runs the event loop for a while, for checks that something does not happen.
inline void spinFor(int ms)
{
    waitUntil([] { return false; }, ms);
}

inline void appendTo(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (file.open(QIODevice::Append))
        file.write(bytes);
}

// Waits until the process has ended; one still running after the wait is
// killed, so that no test leaves it behind.
inline bool processEnds(qint64 pid)
{
    const bool ended = waitUntil([pid] { return !ProcessTable::process(pid).has_value(); });
    if (!ended)
        ::kill(pid_t(pid), SIGKILL);
    return ended;
}

// A shell script for an engine that starts a long sleep of its own, writes
// its process id to the file given as $0 and waits for it.
inline const char *kEngineWithAGrandchild = R"(sleep 300 & echo $! > "$0.part"; mv "$0.part" "$0"; wait)";
