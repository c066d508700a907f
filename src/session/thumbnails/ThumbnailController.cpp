#include "session/thumbnails/ThumbnailController.h"

#include "common/files/TXSupportFileManager.h"
#include "common/files/TextFile.h"
#include "platform/ItemRemoval.h"
#include "platform/MainThread.h"
#include "platform/PropertyList.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

namespace {

const QString kFolderPrefix = QStringLiteral("Thumbs_");
const QString kUploadList = QStringLiteral("source.txt");

QString newThumbnailFolder()
{
    return TXSupportFileManager::txFileManager().pathForApplicationFile(ApplicationFile::UserFolder) + u'/' +
           kFolderPrefix + QString::number(QDateTime::currentMSecsSinceEpoch());
}

}  // namespace

const QString ThumbnailController::kProgressMarker = QStringLiteral("thumbnail_progress");
const QString ThumbnailController::kSuccessMarker = QStringLiteral("thumbnail_success");

ThumbnailController::ThumbnailController(QString destinationFolder, Backup::Account account, ThumbnailTimings timings)
    : mDestinationFolder(std::move(destinationFolder))
    , mTimings(timings)
    , mGenerator(newThumbnailFolder(), timings)
    , mBackupManager(std::move(account), timings)
{}

ThumbnailController::~ThumbnailController()
{
    mGenerator.stop();
    mBackupManager.cancelThumbnailBackup();
    if (mWorkThread.joinable())
        mWorkThread.join();
}

bool ThumbnailController::start()
{
    if (mRunning.exchange(true))
        return false;
    if (mWorkThread.joinable())
        mWorkThread.join();  // the last run has ended: its thread is done
    mWorkThread = std::thread([this] { run(); });
    return true;
}

void ThumbnailController::run()
{
    const QString folder = thumbnailFolder();
    if (mGenerator.start() && writeUploadList()) {
        TextFile::write(folder + u'/' + kProgressMarker, QString(), PropertyList::kOwnerReadWrite);
        mBackupManager.backupImageList({folder + u'/' + kUploadList, mDestinationFolder, folder});
    }
    if (mBackupManager.backupSuccessStatus())
        ItemRemoval::removeItemRecursively(folder);
    removeStaleThumbnailFolders();
    mRunning = false;
    MainThread::runInThreadOf(&mMainThreadContext, [this] {
        if (mDelegate)
            mDelegate->didThumbnailOperationFinished(this);
    });
}

bool ThumbnailController::writeUploadList() const
{
    const QString folder = thumbnailFolder();
    QStringList thumbnails;
    QDirIterator walk(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (walk.hasNext()) {
        const QString path = walk.next();
        for (const ThumbnailKind &kind : ThumbnailGenerator::kinds()) {
            if (path.endsWith(kind.suffix))
                thumbnails << path.mid(folder.size());
        }
    }
    thumbnails.sort();
    return TextFile::write(folder + u'/' + kUploadList, thumbnails.join(u'\n'), PropertyList::kOwnerReadWrite);
}

void ThumbnailController::removeStaleThumbnailFolders() const
{
    const QDir parent = QFileInfo(thumbnailFolder()).dir();
    const QDateTime staleBefore = QDateTime::currentDateTime().addSecs(-mTimings.staleFolderAge.count());
    for (const QFileInfo &sibling : parent.entryInfoList({kFolderPrefix + u'*'}, QDir::Dirs | QDir::NoSymLinks)) {
        if (sibling.lastModified() <= staleBefore && QFileInfo::exists(sibling.filePath() + u'/' + kSuccessMarker))
            ItemRemoval::removeItemRecursively(sibling.filePath());
    }
}
