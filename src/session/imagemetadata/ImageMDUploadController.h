#pragma once

#include "session/upload/Backup.h"

#include <QList>
#include <QMutex>
#include <QObject>
#include <QPair>
#include <QString>
#include <QStringList>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

class ImageMDUploadController;
class RetriedUpload;

struct ImageMDTimings
{
    // Between two upload attempts of the directive list.
    std::chrono::milliseconds uploadRetryPause{60000};
    // After each failed search for renamed images.
    std::chrono::milliseconds renameRetryPause{5000};
};

class ImageMDUploadDelegate
{
public:
    virtual ~ImageMDUploadDelegate() = default;
    // On the main thread, once a run has ended, whether or not it uploaded.
    virtual void didMetaDataUpdateFinished(ImageMDUploadController *controller) = 0;
    // On the run's thread, when listed images are gone: the delegate may
    // report where they went with resolveForRenameFrom.
    virtual void checkforRenameInfo(ImageMDUploadController *) {}
};

// The account and folders of the upload.
struct ImageMDUserDetails
{
    Backup::Account account;
    QString destination = QStringLiteral("/");     // folder on the drive
    QString syncFolderPath = QStringLiteral("/");  // images are listed relative to it
};

// Records the capture metadata of backed-up images on the drive: reads each
// image's digitizing time, GPS position and camera model, writes them as engine
// directives into a work folder of its own and uploads them in the engine's
// image-metadata mode. A run works on a thread of its own; the work folder
// ("<RootUserFolder>/ImageMD_ <time>") and its files are the user's alone
// (0700, 0600) and go when the run ends. Made and destroyed on the main thread.
class ImageMDUploadController
{
public:
    static constexpr int kUploadAttempts = 5;
    static constexpr int kRenameSearches = 5;

    explicit ImageMDUploadController(ImageMDUserDetails details, ImageMDTimings timings = {});
    // Stops a run under way (its engine too) and waits for it.
    ~ImageMDUploadController();
    ImageMDUploadController(const ImageMDUploadController &) = delete;
    ImageMDUploadController &operator=(const ImageMDUploadController &) = delete;

    void setDelegate(ImageMDUploadDelegate *delegate) { mDelegate = delegate; }
    // Queues the paths; one with a line break cannot be listed and is left out.
    void addImages(const QStringList &paths);
    // Takes what is queued and runs it on the run thread (also when nothing is
    // queued); false, with the queue kept, while a run is still under way.
    bool startToUpdateImageInfo();

    // One run over the paths, on the calling thread.
    void updateImageMDInfo(const QStringList &paths);
    // "source.txt" from "ImageList.txt": false, with nothing written, when a listed file is gone.
    bool generateSouceFile();
    // Rewrites "ImageList.txt" with the present places of renamed images; false when one cannot be found.
    bool reconstructImageList();
    void resolveForRenameFrom(const QString &oldPath, const QString &newPath);

    bool isIMDUpdationInProgress() const { return isIMDUpdationInProgressFlag; }
    // The work folder of the run under way or last made.
    QString workFolder() const;

    // The two directive lines of one image: "--f=<path>" and "--a=<time>|<lat>,<lon>|<model>".
    static QStringList directiveLines(const QString &imagePath, const QString &syncFolderPath);

private:
    QString filePath(const QString &name) const;
    QStringList listedImages() const;
    // Clears the run's state and tells the delegate; the work folder goes unless kept for a look.
    void finishRun(bool removeWorkFolder);

    const ImageMDUserDetails mUserDetails;
    const ImageMDTimings mTimings;
    ImageMDUploadDelegate *mDelegate = nullptr;
    mutable QMutex mIPLock;  // the queue, the work folder and the renames
    QStringList mImageFiles;
    QString destString;
    QList<QPair<QString, QString>> renameDict;  // old path -> new path, in the order reported
    std::atomic<bool> isIMDUpdationInProgressFlag{false};
    std::unique_ptr<RetriedUpload> mUpload;
    QObject mMainThreadContext;  // made on the main thread: the delegate is told there
    std::thread mRunThread;
};
