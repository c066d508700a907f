#pragma once

#include <QMutex>
#include <QString>

#include <atomic>

// The two files the client writes to steer a running engine: the cancel
// file ("--chk-cancel=", "3" means stop) and the bandwidth file
// ("--bw-file=", "-1" means pause; missing or unreadable means "100").
// Both are read at most once per poll interval, so checking between every
// file and every chunk stays cheap. Any thread may ask; while one of them
// waits out a pause, every other one that asks waits with it.
class ControlFiles
{
public:
    static constexpr int kPollIntervalMs = 100;   // how stale a check may be
    static constexpr int kPausedSleepMs = 100;    // nap while paused

    ControlFiles(QString cancelPath, QString throttlePath);

    // True once the client asked to cancel. While paused, waits here until
    // the pause ends or a cancel arrives.
    bool cancelRequested();

private:
    void poll();
    bool readCancel() const;
    bool readPaused() const;

    QString mCancelPath;
    QString mThrottlePath;
    QMutex mPollLock;
    std::atomic<qint64> mNextPollMs = 0;
    std::atomic_bool mPausing = false;
    std::atomic_bool mCancelled = false;
};
