#pragma once

#include <QElapsedTimer>
#include <QString>

// The two files the client writes to steer a running engine: the cancel
// file ("--chk-cancel=", "3" means stop) and the bandwidth file
// ("--bw-file=", "-1" means pause; missing or unreadable means "100").
// Both are read at most once per poll interval, so checking between every
// file and every chunk stays cheap.
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
    bool readCancel() const;
    bool readPaused() const;

    QString mCancelPath;
    QString mThrottlePath;
    QElapsedTimer mSinceLastPoll;
    bool mCancelled = false;
};
