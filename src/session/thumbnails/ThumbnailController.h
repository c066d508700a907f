#pragma once

#include "session/thumbnails/ThumbnailBackupManager.h"
#include "session/thumbnails/ThumbnailGenerator.h"
#include "session/thumbnails/ThumbnailTimings.h"
#include "session/upload/Backup.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <atomic>
#include <thread>

class ThumbnailController;

class ThumbnailControllerDelegate
{
public:
    virtual ~ThumbnailControllerDelegate() = default;
    // On the main thread, once the thumbnails were made and the upload has ended.
    virtual void didThumbnailOperationFinished(ThumbnailController *controller) = 0;
};

// Makes the thumbnails of backed-up images and uploads them beside the images
// on the drive. Each controller has a thumbnail folder of its own,
// "<UserFolder>/Thumbs_<time>", private to the user; it goes once its upload
// succeeded, and so do the folders of earlier runs that were uploaded and are
// old enough. The work runs on a thread of its own. Made and destroyed on the
// main thread; destroying it cancels the work and waits for it.
class ThumbnailController
{
public:
    static const QString kProgressMarker;  // "thumbnail_progress"
    static const QString kSuccessMarker;   // "thumbnail_success"

    ThumbnailController(QString destinationFolder, Backup::Account account, ThumbnailTimings timings = {});
    ~ThumbnailController();
    ThumbnailController(const ThumbnailController &) = delete;
    ThumbnailController &operator=(const ThumbnailController &) = delete;

    void setDelegate(ThumbnailControllerDelegate *delegate) { mDelegate = delegate; }
    QString thumbnailFolder() const { return mGenerator.thumbnailFolder(); }
    void addImages(const QStringList &paths) { mGenerator.addImages(paths); }
    // Generation, then upload, on the work thread; false while a run is still under way.
    bool start();
    bool backupSucceeded() const { return mBackupManager.backupSuccessStatus(); }

    // The thumbnail folder's "source.txt": every thumbnail in it, as a path under the folder.
    bool writeUploadList() const;
    // Removes sibling thumbnail folders that were uploaded and are old enough.
    void removeStaleThumbnailFolders() const;

private:
    void run();

    const QString mDestinationFolder;
    const ThumbnailTimings mTimings;
    ThumbnailGenerator mGenerator;
    ThumbnailBackupManager mBackupManager;
    ThumbnailControllerDelegate *mDelegate = nullptr;
    QObject mMainThreadContext;
    std::atomic<bool> mRunning{false};
    std::thread mWorkThread;
};
