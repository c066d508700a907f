#include "session/thumbnails/ThumbnailBackupManager.h"

ThumbnailBackupManager::ThumbnailBackupManager(Backup::Account account, ThumbnailTimings timings)
    : mAccount(std::move(account))
    , mUpload(kAttempts, timings.uploadRetryPause)
{}

bool ThumbnailBackupManager::backupImageList(const Job &job)
{
    const QString errorFile = job.relativePath + QStringLiteral("/error.rtf");
    mSucceeded = mUpload.run(job.sourceFile, errorFile, [&](const QString &error) {
        auto uploader = std::make_unique<Backup>(mAccount, error, job.relativePath + u'/', job.destinationPath, false);
        uploader->setUploadLogFlag(false);
        uploader->setThumbnailUploadFlag(true);
        return uploader;
    });
    return mSucceeded;
}
