#pragma once

#include "txruvo/DurableBatch.h"

#include <QMutex>
#include <QWaitCondition>

// Lets the threads of one run share their syncs of a file system. A sync
// that starts after a thread asked for one covers that thread's writes, so
// threads that ask at about the same time wait for one sync of the drive
// instead of queueing one each (every sync waits for the drive itself).
class SharedSync
{
public:
    explicit SharedSync(DurableBatch::FileSystemSync sync);

    // The same contract as the sync it shares: 0, or -1 with errno set.
    int sync(int fileSystemFd);

private:
    DurableBatch::FileSystemSync mSync;
    QMutex mLock;
    QWaitCondition mFinished;
    quint64 mRequested = 0;  // tickets handed out
    bool mRunning = false;
    // The last sync that ended: the tickets it covered, its file system and outcome.
    quint64 mCovered = 0;
    int mCoveredFd = -1;
    int mResult = 0;
    int mError = 0;
};
