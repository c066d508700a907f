#pragma once

#include "support/QtPrinters.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>

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

