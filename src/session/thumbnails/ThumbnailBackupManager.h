#pragma once

#include "session/thumbnails/ThumbnailTimings.h"
#include "session/upload/Backup.h"
#include "session/upload/RetriedUpload.h"

#include <QString>

#include <atomic>

// Uploads a thumbnail folder's list of thumbnails beside their images on the
// drive, with the session uploader in its thumbnail mode: up to five attempts,
// resting after a failure; a cancel ends the attempts and the engine under way.
class ThumbnailBackupManager
{
public:
    static constexpr int kAttempts = 5;

    struct Job
    {
        QString sourceFile;       // the list of thumbnails, relative to relativePath
        QString destinationPath;  // folder on the drive
        QString relativePath;     // the thumbnail folder: the local source root
    };

    ThumbnailBackupManager(Backup::Account account, ThumbnailTimings timings = {});

    // Blocks until the upload has ended; the outcome is also kept.
    bool backupImageList(const Job &job);
    void cancelThumbnailBackup() { mUpload.stop(); }
    bool backupSuccessStatus() const { return mSucceeded; }

private:
    const Backup::Account mAccount;
    RetriedUpload mUpload;
    std::atomic<bool> mSucceeded{false};
};
