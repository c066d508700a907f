#include "session/imagemetadata/ImageMDUploadController.h"

#include "common/files/TXSupportFileManager.h"
#include "common/files/TextFile.h"
#include "platform/ItemRemoval.h"
#include "platform/MainThread.h"
#include "platform/PathStandardizer.h"
#include "platform/PrivateFolder.h"
#include "platform/PropertyList.h"
#include "session/imagemetadata/ImageProperties.h"
#include "session/upload/RetriedUpload.h"

#include <QDateTime>
#include <QFileInfo>

namespace {

const QString kImageList = QStringLiteral("ImageList.txt");
const QString kSourceList = QStringLiteral("source.txt");
const QString kInProgressMarker = QStringLiteral("MDUpdateInProgress.txt");
const QString kErrorFile = QStringLiteral("error.rtf");

// Texts read from an image file go on one directive line, whatever they hold.
QString oneLine(QString text)
{
    for (QChar &c : text) {
        if (c == u'\n' || c == u'\r')
            c = u' ';
    }
    return text;
}

bool writePrivate(const QString &path, const QString &text)
{
    return TextFile::write(path, text, PropertyList::kOwnerReadWrite);
}

}  // namespace

ImageMDUploadController::ImageMDUploadController(ImageMDUserDetails details, ImageMDTimings timings)
    : mUserDetails(std::move(details))
    , mTimings(timings)
    , mUpload(std::make_unique<RetriedUpload>(kUploadAttempts, timings.uploadRetryPause))
{}

ImageMDUploadController::~ImageMDUploadController()
{
    mUpload->stop();
    if (mRunThread.joinable())
        mRunThread.join();
}

void ImageMDUploadController::addImages(const QStringList &paths)
{
    QMutexLocker lock(&mIPLock);
    // The image list has one path a line: a name with a line break cannot be
    // listed without turning into other paths, so it is left out.
    for (const QString &path : paths) {
        if (!path.contains(u'\n') && !path.contains(u'\r'))
            mImageFiles.append(path);
    }
}

bool ImageMDUploadController::startToUpdateImageInfo()
{
    // One run at a time: a run owns the work folder and the renames.
    if (isIMDUpdationInProgressFlag.exchange(true))
        return false;
    QStringList paths;
    {
        QMutexLocker lock(&mIPLock);
        paths.swap(mImageFiles);
    }
    if (mRunThread.joinable())
        mRunThread.join();  // the last run has ended: its thread is done
    mRunThread = std::thread([this, paths] { updateImageMDInfo(paths); });
    return true;
}

QString ImageMDUploadController::workFolder() const
{
    QMutexLocker lock(&mIPLock);
    return destString;
}

QString ImageMDUploadController::filePath(const QString &name) const { return workFolder() + u'/' + name; }

void ImageMDUploadController::updateImageMDInfo(const QStringList &paths)
{
    isIMDUpdationInProgressFlag = true;
    const QString folder =
        TXSupportFileManager::txFileManager().pathForApplicationFile(ApplicationFile::RootUserFolder) +
        QStringLiteral("/ImageMD_ ") + QDateTime::currentDateTime().toString(QStringLiteral("MM-dd-yyyy-HH-mm-ss"));
    {
        QMutexLocker lock(&mIPLock);
        destString = folder;
    }
    if (!PrivateFolder::ensure(folder) || !writePrivate(filePath(kImageList), paths.join(u'\n'))) {
        finishRun(true);
        return;
    }

    bool listed = generateSouceFile();
    if (!listed) {
        for (int search = 0; search < kRenameSearches && !reconstructImageList(); ++search) {
            if (!mUpload->pause(mTimings.renameRetryPause))
                break;
        }
        listed = generateSouceFile();
    }
    // A list that still names a missing image is not uploaded; its work folder stays for a look.
    if (!listed) {
        finishRun(false);
        return;
    }

    writePrivate(filePath(kInProgressMarker), QString());
    const QString sourceRoot = mUserDetails.syncFolderPath + u'/';
    const QString serverPath = mUserDetails.destination + u'/';
    mUpload->run(filePath(kSourceList), filePath(kErrorFile), [&](const QString &errorFile) {
        auto uploader = std::make_unique<Backup>(mUserDetails.account, errorFile, sourceRoot, serverPath, false);
        uploader->setUploadLogFlag(false);
        uploader->setThumbnailUploadFlag(false);
        uploader->setshouldUpdateIMD(true);
        return uploader;
    });
    finishRun(true);
}

void ImageMDUploadController::finishRun(bool removeWorkFolder)
{
    QString folder;
    {
        QMutexLocker lock(&mIPLock);
        renameDict.clear();
        folder = destString;
    }
    if (removeWorkFolder)
        ItemRemoval::removeItemRecursively(folder);
    isIMDUpdationInProgressFlag = false;
    // Dropped when the controller is gone before the main thread gets to it.
    MainThread::runInThreadOf(&mMainThreadContext, [this] {
        if (mDelegate)
            mDelegate->didMetaDataUpdateFinished(this);
    });
}

QStringList ImageMDUploadController::listedImages() const
{
    const std::optional<QString> list = TextFile::read(filePath(kImageList));
    return list ? list->split(u'\n', Qt::SkipEmptyParts) : QStringList();
}

QStringList ImageMDUploadController::directiveLines(const QString &imagePath, const QString &syncFolderPath)
{
    const ImageCaptureInfo info = ImageProperties::captureInfo(imagePath);
    if (info.isEmpty())
        return {};
    const QString listed = imagePath.startsWith(syncFolderPath)
                               ? PathStandardizer::standardizePath(imagePath.mid(syncFolderPath.size()))
                               : imagePath;
    return {QStringLiteral("--f=") + listed,
            QStringLiteral("--a=%1|%2,%3|%4")
                .arg(oneLine(info.digitizedTime), info.latitude, info.longitude, oneLine(info.model))};
}

bool ImageMDUploadController::generateSouceFile()
{
    QStringList lines;
    bool everyFileThere = true;
    for (const QString &image : listedImages()) {
        if (!QFileInfo::exists(image)) {
            everyFileThere = false;
            continue;
        }
        lines += directiveLines(image, mUserDetails.syncFolderPath);
    }
    return everyFileThere && writePrivate(filePath(kSourceList), lines.join(u'\n'));
}

void ImageMDUploadController::resolveForRenameFrom(const QString &oldPath, const QString &newPath)
{
    QMutexLocker lock(&mIPLock);
    renameDict.append({oldPath, newPath});
}

bool ImageMDUploadController::reconstructImageList()
{
    const QStringList images = listedImages();
    if (mDelegate)
        mDelegate->checkforRenameInfo(this);
    QList<QPair<QString, QString>> renames;
    {
        QMutexLocker lock(&mIPLock);
        renames = renameDict;
    }
    if (renames.isEmpty())
        return false;

    QStringList kept;
    for (const QString &image : images) {
        QString candidate = PathStandardizer::standardizePath(image);
        // Each rename applies once at most, so renames into their own old folder cannot loop.
        for (const auto &[oldPath, newPath] : std::as_const(renames)) {
            if (QFileInfo::exists(candidate))
                break;
            const QString oldPrefix = PathStandardizer::standardizePath(oldPath);
            if (candidate.startsWith(oldPrefix))
                candidate = newPath + candidate.mid(oldPrefix.size());
        }
        if (!QFileInfo::exists(candidate))
            return false;
        kept << candidate;
    }
    return kept.isEmpty() || writePrivate(filePath(kImageList), kept.join(u'\n'));
}
