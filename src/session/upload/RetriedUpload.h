#pragma once

#include "session/upload/Backup.h"

#include <QString>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

// Uploads one list with the session uploader, a fresh uploader per attempt,
// until an attempt succeeds or the attempts are spent, resting between failed
// attempts. Before each attempt the uploader's error file is written empty
// (owner-only). stop(), from any thread, ends the rest at once and the engine
// under way, and no further attempt starts.
class RetriedUpload
{
public:
    // Makes the uploader of one attempt, its flags set, for the given error file.
    using UploaderMaker = std::function<std::unique_ptr<Backup>(const QString &errorFile)>;

    RetriedUpload(int attempts, std::chrono::milliseconds pauseAfterFailure);

    // True when an attempt succeeded.
    bool run(const QString &listFile, const QString &errorFile, const UploaderMaker &makeUploader);
    // Rests for the time unless stopped first; false when stopped.
    bool pause(std::chrono::milliseconds time);
    void stop();

private:
    const int mAttempts;
    const std::chrono::milliseconds mPause;
    mutable std::mutex mLock;
    std::condition_variable mWake;
    bool mStopped = false;
    Backup *mRunning = nullptr;
};
