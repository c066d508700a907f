#include "session/thumbnails/ThumbnailGenerator.h"

#include "engine/controllers/ThumbnailSuffixes.h"
#include "platform/PrivateFolder.h"
#include "platform/PropertyList.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>

#include <thread>

namespace {

const QString kSourceListPattern = QStringLiteral("source_*.qlthmtxt");

// The image by its extension, else by its content: ".dib" and ".rle" are
// bitmaps Qt knows only by content, and TGA has no signature to be known by.
QImage readPicture(const QString &path)
{
    for (const bool byContent : {false, true}) {
        QImageReader reader(path);
        reader.setDecideFormatFromContent(byContent);
        reader.setAutoTransform(true);
        const QImage picture = reader.read();
        if (!picture.isNull())
            return picture;
    }
    return {};
}

}  // namespace

const QList<ThumbnailKind> &ThumbnailGenerator::kinds()
{
    static const QList<ThumbnailKind> all = {
        {ThumbnailSuffixes::kLarge, QSize(1280, 960), 62, false},
        {ThumbnailSuffixes::kSmall, QSize(135, 135), 62, true},
        {ThumbnailSuffixes::kTiny, QSize(40, 40), 80, true},
    };
    return all;
}

ThumbnailGenerator::ThumbnailGenerator(QString thumbnailFolder, ThumbnailTimings timings)
    : mThumbnailFolder(std::move(thumbnailFolder))
    , mTimings(timings)
{}

void ThumbnailGenerator::addImages(const QStringList &paths)
{
    QMutexLocker lock(&mQueueLock);
    mQueue.append(paths);
}

bool ThumbnailGenerator::start()
{
    mStopped = false;
    if (!PrivateFolder::ensure(mThumbnailFolder) || !writeQueueToSourceList())
        return false;
    const QDir folder(mThumbnailFolder);
    for (const QString &name : folder.entryList({kSourceListPattern}, QDir::Files, QDir::Name)) {
        if (mStopped || !processSourceList(folder.filePath(name)))
            return false;
    }
    return true;
}

bool ThumbnailGenerator::writeQueueToSourceList()
{
    QStringList queued;
    {
        QMutexLocker lock(&mQueueLock);
        queued.swap(mQueue);
    }
    if (queued.isEmpty())
        return true;
    QString listPath;
    do {
        listPath = QStringLiteral("%1/source_%2.qlthmtxt").arg(mThumbnailFolder).arg(fileCounter++);
    } while (QFileInfo::exists(listPath));
    return PropertyList::write(listPath, QVariant(queued), PropertyList::kOwnerReadWrite);
}

bool ThumbnailGenerator::processSourceList(const QString &listPath)
{
    const std::optional<QVariant> list = PropertyList::read(listPath);
    if (!list)
        return false;
    for (const QString &image : list->toStringList()) {
        if (mStopped)
            return false;
        if (!QFileInfo(image).isFile())
            continue;
        makeThumbnails(image);
        std::this_thread::sleep_for(mTimings.pauseAfterImage);
    }
    return QFile::remove(listPath);
}

bool ThumbnailGenerator::makeThumbnails(const QString &imagePath)
{
    const QImage picture = readPicture(imagePath);
    if (picture.isNull())
        return false;
    const QString mirrorFolder = QFileInfo(thumbnailPath(imagePath, kinds().first())).path();
    if (!QDir().mkpath(mirrorFolder))
        return false;
    bool written = true;
    for (const ThumbnailKind &kind : kinds())
        written = writeThumbnail(picture, kind, thumbnailPath(imagePath, kind)) && written;
    return written;
}

QString ThumbnailGenerator::thumbnailPath(const QString &imagePath, const ThumbnailKind &kind) const
{
    return mThumbnailFolder + QDir::cleanPath(QFileInfo(imagePath).absoluteFilePath()) + kind.suffix;
}

bool ThumbnailGenerator::writeThumbnail(const QImage &picture, const ThumbnailKind &kind, const QString &target)
{
    QImage thumbnail = picture;
    // A square thumbnail is cut from the middle, unless the image is square
    // already or smaller than the thumbnail.
    const int side = qMin(picture.width(), picture.height());
    if (kind.squareCropFirst && picture.width() != picture.height() && kind.size.width() <= side)
        thumbnail = picture.copy((picture.width() - side) / 2, (picture.height() - side) / 2, side, side);
    // Only shrunk, never enlarged; the proportions stay.
    if (kind.size.width() < thumbnail.width() || kind.size.height() < thumbnail.height())
        thumbnail = thumbnail.scaled(kind.size, Qt::KeepAspectRatio, Qt::SmoothTransformation);

    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly) || !file.setPermissions(PropertyList::kOwnerReadWrite))
        return false;
    QImageWriter writer(&file, "jpeg");
    writer.setQuality(kind.quality);
    return writer.write(thumbnail) && file.commit();
}
