#pragma once

#include "session/thumbnails/ThumbnailTimings.h"

#include <QImage>
#include <QMutex>
#include <QSize>
#include <QString>
#include <QStringList>

#include <atomic>

// One thumbnail of an image: its name suffix, the box it fits in, its JPEG
// quality, and whether the image is first cut to a centred square.
struct ThumbnailKind
{
    QString suffix;
    QSize size;
    int quality;
    bool squareCropFirst;
};

// Makes the JPEG thumbnails of queued images into a mirror of each image's
// folder under the thumbnail folder ("<folder>/home/me/cat.jpg_THSML"), with
// Qt's image readers. The queue goes through property-list source files in the
// folder ("source_<n>.qlthmtxt"), so a list left by an interrupted run is
// finished by the next one. The folder and everything in it are the user's
// alone (0700 folders, 0600 files).
class ThumbnailGenerator
{
public:
    // _THINT 1280x960 q62, _THSML 135x135 q62 square, _THTIN 40x40 q80 square.
    static const QList<ThumbnailKind> &kinds();

    ThumbnailGenerator(QString thumbnailFolder, ThumbnailTimings timings = {});

    QString thumbnailFolder() const { return mThumbnailFolder; }
    void addImages(const QStringList &paths);
    // Writes the queue to a new source list, then makes the thumbnails of
    // every list in the folder and deletes each list once done. False when
    // the folder or a list cannot be written or read.
    bool start();
    // Stops start() before its next image.
    void stop() { mStopped = true; }

    // The three thumbnails of one image; false when it cannot be read as an image.
    bool makeThumbnails(const QString &imagePath);
    // The thumbnail of the image picture; false when it cannot be written.
    static bool writeThumbnail(const QImage &picture, const ThumbnailKind &kind, const QString &target);
    QString thumbnailPath(const QString &imagePath, const ThumbnailKind &kind) const;

private:
    bool writeQueueToSourceList();
    bool processSourceList(const QString &listPath);

    QString mThumbnailFolder;
    ThumbnailTimings mTimings;
    QMutex mQueueLock;
    QStringList mQueue;
    int fileCounter = 0;
    std::atomic<bool> mStopped{false};
};
