#pragma once

#include <QEventLoop>
#include <QTimer>

#include <chrono>

// Serves the event loop, sleeping between events as the client's loop does,
// until `done()` holds; looked at every `checkEvery`. (processEvents with a
// time limit returns at once when nothing is queued, so a loop around it
// keeps a core busy and slows what it measures.)
template <typename Done>
void waitUntil(Done done, std::chrono::milliseconds checkEvery = std::chrono::milliseconds(20))
{
    if (done())
        return;
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    check.start(checkEvery);
    loop.exec();
}
