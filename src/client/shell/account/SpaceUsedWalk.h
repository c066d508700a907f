#pragma once

#include "common/utility/QLUtility.h"

#include <QString>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>

class QObject;

// The space used by the user's folder on the backup drive, walked on a thread of its own:
// the walk pauses after each entry and takes minutes on a large drive. A new walk, a walk
// of another folder or the program's end stops the running one within one entry, and a
// stopped walk's result is dropped.
class SpaceUsedWalk
{
public:
    using Result = std::function<void(quint64 bytes)>;

    explicit SpaceUsedWalk(std::chrono::microseconds pause = QLUtility::kSizeWalkPause)
        : mPause(pause)
    {}
    ~SpaceUsedWalk() { stop(); }
    SpaceUsedWalk(const SpaceUsedWalk &) = delete;
    SpaceUsedWalk &operator=(const SpaceUsedWalk &) = delete;

    // Walks the folder; the result reaches receiver's thread, which must outlive this walk.
    void start(const QString &folder, QObject *receiver, Result result);
    // Stops the running walk unless it walks this folder (the account changed).
    void keepOnlyFor(const QString &folder);
    void stop();
    // A walk was started and neither stopped nor ended by its result yet.
    bool isRunning() const { return mThread.joinable(); }

private:
    std::chrono::microseconds mPause;
    QString mFolder;
    std::shared_ptr<std::atomic<bool>> mStopped;
    std::thread mThread;
};
