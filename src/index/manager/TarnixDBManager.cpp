#include "index/manager/TarnixDBManager.h"

#include "common/account/QLApplicationDelegate.h"
#include "common/files/TXSupportFileManager.h"
#include "common/logging/QLBackupProgressLogger.h"
#include "common/utility/QLUtility.h"
#include "index/TXDatabaseWrapper.h"
#include "index/journals/DataBaseWrapper.h"
#include "index/journals/JournalFiles.h"
#include "index/manager/IndexDetailsFile.h"
#include "index/manager/IndexPathRule.h"
#include "index/manager/IndexSpillFile.h"

#include <QDir>

namespace {

const QString kPrivateFolder = QStringLiteral("/private/");

}  // namespace

TarnixDBManager::TarnixDBManager(const IndexManagerTimings &timings, const IndexManagerLimits &limits)
    : mTimings(timings)
    , mLimits(limits)
    , mCommonDatabaseHandler(std::make_unique<DataBaseWrapper>(
          [index = timings.index] { return std::make_unique<TXDatabaseWrapper>(index); }))
{
    const QString folder = TXSupportFileManager::txFileManager().pathForApplicationFile(ApplicationFile::LDBFolder);
    if (!folder.isEmpty())
        QDir().mkpath(folder);
}

TarnixDBManager::~TarnixDBManager()
{
    stopDBOperation();
    if (mDBThread.joinable())
        mDBThread.join();
    mWriters.waitForDone();
}

void TarnixDBManager::setMainController(QLApplicationDelegate *mainController)
{
    if (!mainController || mMainController.exchange(mainController))
        return;
    setLDBDetailsPList();
    // Only now: the start-up merge needs the account and the mode.
    mDBThread = std::thread(&TarnixDBManager::updaterThread, this);
}

void TarnixDBManager::addBackedUpFile(const BackedUpFile &file)
{
    const QString &path = file.filename;
    if (path.isEmpty() || path.startsWith(kPrivateFolder))
        return;
    QLApplicationDelegate *mainController = mMainController.load();
    const bool syncMode = mainController && !mainController->isAppInBackupMode();
    bool full = false;
    {
        std::lock_guard lock(mBLock);
        mRuvoInfo.insert(path, StoredFileRecord::of(file));
        if (syncMode && !file.relativePath.isNull())
            mLDBFilePaths.insert(path, file.relativePath);
        full = mRuvoInfo.size() >= mLimits.queueBound;
    }
    if (full) {
        {
            std::lock_guard lock(mStateLock);
            mTickNow = true;
        }
        mWake.notify_all();
    }
}

void TarnixDBManager::addFileToDelete(const QString &indexPath)
{
    if (indexPath.isNull())
        return;
    std::lock_guard lock(mDLock);
    mFilesToDelete.insert(indexPath);
}

void TarnixDBManager::stopDBOperation()
{
    {
        std::lock_guard lock(mStateLock);
        mStopRequested = true;
    }
    mWake.notify_all();
}

void TarnixDBManager::stopAtSafePoint()
{
    mCommonDatabaseHandler->stopMerging();
    stopDBOperation();
}

void TarnixDBManager::updaterThread()
{
    QLApplicationDelegate *mainController = mMainController.load();
    const IndexContext context = IndexContext::of(*mainController);
    if (context.isUsable()) {
        JournalFiles::finishAbandoned(context.indexFolder);
        mCommonDatabaseHandler->updateMasterDataBase(context.indexFolder, context.userName);
    }

    std::unique_lock lock(mStateLock);
    while (!mStopRequested) {
        mWake.wait_for(lock, mTimings.tickInterval, [this] { return mStopRequested || mTickNow; });
        if (mStopRequested)
            break;
        mTickNow = false;
        lock.unlock();
        updaterTimer();
        lock.lock();
    }
    lock.unlock();
    // What was queued before the stop still goes into the index.
    updaterTimer();
}

BackedUpFiles TarnixDBManager::takeBackedUpFiles(bool backupMode)
{
    std::lock_guard lock(mBLock);
    BackedUpFiles files;
    files.records.swap(mRuvoInfo);
    if (!backupMode)
        files.relativePaths.swap(mLDBFilePaths);
    return files;
}

QStringList TarnixDBManager::takeFilesToDelete()
{
    std::lock_guard lock(mDLock);
    const QStringList paths(mFilesToDelete.cbegin(), mFilesToDelete.cend());
    mFilesToDelete.clear();
    return paths;
}

void TarnixDBManager::updaterTimer()
{
    QLApplicationDelegate *mainController = mMainController.load();
    if (!mainController)
        return;
    const IndexContext context = IndexContext::of(*mainController);
    BackedUpFiles files = takeBackedUpFiles(context.backupMode);
    QStringList deletions = takeFilesToDelete();

    std::lock_guard lock(mStateLock);
    if (!files.records.isEmpty()) {
        ++mWriterCounts.backedUpFiles;
        startBackedUpFilesWriter(context, std::move(files));
    }
    if (!deletions.isEmpty()) {
        ++mWriterCounts.deletions;
        mWriters.start([this, context, deletions = std::move(deletions)]() mutable {
            IndexJournalWriter(context, mTimings).writeDeletions(std::exchange(deletions, {}));
            mergeJournals(context);
        });
    }
}

void TarnixDBManager::startBackedUpFilesWriter(const IndexContext &context, BackedUpFiles files)
{
    bool spill = false;
    {
        std::lock_guard lock(mSpillLock);
        spill = !mSpilled.empty() || mRecordsWithWriters + files.records.size() > mLimits.recordsInMemoryBound;
    }
    if (spill) {
        const QString folder =
            TXSupportFileManager::txFileManager().pathForApplicationFile(ApplicationFile::LDBTempFolderPath);
        if (const std::optional<QString> path = IndexSpillFile::write(folder, files)) {
            {
                std::lock_guard lock(mSpillLock);
                mSpilled.push_back(*path);
            }
            ++mWriterCounts.spilled;
            mWriters.start([this, context] {
                writeSpilled(context);
                mergeJournals(context);
            });
            return;
        }
    }
    mRecordsWithWriters += files.records.size();
    mWriters.start([this, context, files = std::move(files)]() mutable {
        writeCounted(context, std::exchange(files, {}));
        writeSpilled(context);
        mergeJournals(context);
    });
}

void TarnixDBManager::writeCounted(const IndexContext &context, BackedUpFiles files)
{
    const qsizetype count = files.records.size();
    IndexJournalWriter(context, mTimings).writeBackedUpFiles(std::move(files));
    mRecordsWithWriters -= count;
}

void TarnixDBManager::writeSpilled(const IndexContext &context)
{
    for (;;) {
        QString path;
        {
            std::lock_guard lock(mSpillLock);
            if (mSpilled.empty() || mRecordsWithWriters >= mLimits.recordsInMemoryBound)
                return;
            path = mSpilled.front();
            mSpilled.pop_front();
        }
        std::optional<BackedUpFiles> files = IndexSpillFile::take(path);
        if (!files) {
            QLBackupProgressLogger::progressLogger().logInteractiveTrace(
                QStringLiteral("index spill file cannot be read: %1").arg(path), false);
            continue;
        }
        mRecordsWithWriters += files->records.size();
        writeCounted(context, std::move(*files));
    }
}

void TarnixDBManager::mergeJournals(const IndexContext &context)
{
    if (!context.isUsable())
        return;
    {
        std::lock_guard lock(mMergeStateLock);
        if (mMerging) {
            mMergeAgain = true;
            return;
        }
        mMerging = true;
    }
    for (;;) {
        // Also folds in journals that earlier writers and runs left.
        mCommonDatabaseHandler->updateMasterDataBase(context.indexFolder, context.userName);
        std::lock_guard lock(mMergeStateLock);
        if (!std::exchange(mMergeAgain, false)) {
            mMerging = false;
            return;
        }
    }
}

void TarnixDBManager::waitForWriters() { mWriters.waitForDone(); }

TarnixDBManager::WriterCounts TarnixDBManager::writersStarted() const
{
    std::lock_guard lock(mStateLock);
    return mWriterCounts;
}

QString TarnixDBManager::ldbWindowsPathWithString(const QString &path, bool forBackup) const
{
    QLApplicationDelegate *mainController = mMainController.load();
    if (!mainController)
        return path;
    return IndexPathRule::indexPath(path, forBackup, mainController->mpcName(), mainController->isAppInBackupMode());
}

std::optional<QStringList> TarnixDBManager::getAllEntriesFromMainDBWithPathLike(const QString &indexPath)
{
    QLApplicationDelegate *mainController = mMainController.load();
    if (!mainController)
        return std::nullopt;
    const IndexContext context = IndexContext::of(*mainController);
    if (!context.isUsable())
        return std::nullopt;
    TXDatabaseWrapper index(mTimings.index);
    if (!index.initializeDatabaseAtPath(context.indexFolder, context.userName, 1))
        return std::nullopt;
    if (QLUtility::isDirectory(IndexPathRule::localPath(indexPath, context.computerFolder)))
        return index.getAllFilesInside(indexPath);
    const std::optional<bool> exists = index.doesFileExistOnPortable(indexPath);
    if (!exists)
        return std::nullopt;
    return *exists ? QStringList{indexPath} : QStringList();
}

void TarnixDBManager::setLDBDetailsPList()
{
    const QString path =
        TXSupportFileManager::txFileManager().pathForApplicationFile(ApplicationFile::LDBDetailsFilePath);
    if (!path.isEmpty())
        IndexDetailsFile::write(path, mMainController.load()->userObject());
}
