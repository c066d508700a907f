#pragma once

#include "txruvo/EngineTimings.h"

#include <QElapsedTimer>
#include <QMutex>
#include <QString>

#include <atomic>

// The two files the client writes to steer a running engine: the cancel
// file ("--chk-cancel=", "3" means stop) and the bandwidth file
// ("--bw-file=", "-1" means pause; missing or unreadable means "100").
// Both are read at most once per poll interval (EngineTimings), so checking
// between every file and every chunk stays cheap. Any thread may ask; while one of them
// waits out a pause, every other one that asks waits with it.
class ControlFiles
{
public:
    ControlFiles(QString cancelPath, QString throttlePath, const EngineTimings &timings);

    // True once the client asked to cancel. While paused, waits here until
    // the pause ends or a cancel arrives.
    bool cancelRequested();

private:
    void poll();
    bool readCancel() const;
    bool readPaused() const;

    qint64 nowMs() const { return mClock.elapsed(); }

    QString mCancelPath;
    QString mThrottlePath;
    std::chrono::milliseconds mPollInterval;
    std::chrono::milliseconds mPausedPoll;
    QElapsedTimer mClock;
    QMutex mPollLock;
    std::atomic<qint64> mNextPollMs = 0;
    std::atomic_bool mPausing = false;
    std::atomic_bool mCancelled = false;
};
