#include "session/upload/RetriedUpload.h"

#include "common/files/TextFile.h"
#include "platform/PropertyList.h"

RetriedUpload::RetriedUpload(int attempts, std::chrono::milliseconds pauseAfterFailure)
    : mAttempts(attempts)
    , mPause(pauseAfterFailure)
{}

bool RetriedUpload::run(const QString &listFile, const QString &errorFile, const UploaderMaker &makeUploader)
{
    for (int attempt = 1; attempt <= mAttempts; ++attempt) {
        TextFile::write(errorFile, QString(), PropertyList::kOwnerReadWrite);
        const std::unique_ptr<Backup> uploader = makeUploader(errorFile);
        {
            std::lock_guard lock(mLock);
            if (mStopped)
                return false;
            mRunning = uploader.get();
        }
        const int result = uploader->BackupData(listFile);
        {
            std::lock_guard lock(mLock);
            mRunning = nullptr;
        }
        if (result == 0)
            return true;
        if (attempt < mAttempts && !pause(mPause))
            return false;
    }
    return false;
}

bool RetriedUpload::pause(std::chrono::milliseconds time)
{
    std::unique_lock lock(mLock);
    mWake.wait_for(lock, time, [this] { return mStopped; });
    return !mStopped;
}

void RetriedUpload::stop()
{
    std::lock_guard lock(mLock);
    mStopped = true;
    if (mRunning)
        mRunning->stopProcess();
    mWake.notify_all();
}
