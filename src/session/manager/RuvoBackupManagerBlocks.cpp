// The walk's callbacks on the worker thread: found paths are queued, filtered
// per batch and dealt into list blocks; each block written wakes the main
// thread, which hands it to an idle engine.

#include "session/manager/RuvoBackupManager.h"

#include "common/logging/QLBackupProgressLogger.h"
#include "common/logging/QLLogger.h"
#include "platform/PathRoots.h"
#include "session/enumeration/FileSizeTally.h"
#include "session/filtering/ExclusionFilter.h"
#include "session/manager/RuvoBackupRestoreHandlerProtocol.h"

#include <algorithm>

// The size of a found file is measured later, only for the files kept.
void RuvoBackupManager::didFoundFile(const QString &path, quint64)
{
    QStringList batch;
    {
        std::lock_guard lock(mLockforSelectedFile);
        queueSelectedFile(path);
        if (mSelectedFilePaths.size() < kQueueBatch)
            return;
        batch = std::exchange(mSelectedFilePaths, {});
    }
    writeBatch(batch, QString());
}

void RuvoBackupManager::queueSelectedFile(const QString &path)
{
    // Room for a whole batch at once: growing the queue path by path would copy it over and over.
    if (mSelectedFilePaths.isEmpty())
        mSelectedFilePaths.reserve(kQueueBatch);
    mSelectedFilePaths.append(path);
}

QStringList RuvoBackupManager::takeSelectedFiles()
{
    std::lock_guard lock(mLockforSelectedFile);
    return std::exchange(mSelectedFilePaths, {});
}

void RuvoBackupManager::didEndFolderEnumeration(const FoundFiles &files, const QString &parentFolder)
{
    if (mIsBackupCancel)
        return;
    QStringList paths;
    paths.reserve(files.size());
    for (const FoundFile &file : files)
        paths << file.path;
    writeBatch(paths, parentFolder);
}

// A folder the walk cannot read is left out: it fails like an unreadable file, under its path.
void RuvoBackupManager::didEncounterError(const QString &folder, const QString &description)
{
    if (isRestore)
        return;
    QLBackupProgressLogger::progressLogger().writeSessionLog(
        QStringLiteral("Unable to read the folder %1: %2\n").arg(folder, description), sessionLogFile(), true);
    failItem(folder, description);
}

// A mount below the selection that is not walked: named in the session log and told to the delegate.
void RuvoBackupManager::didSkipMountPoint(const QString &folder, const QString &reason)
{
    const QString message = QStringLiteral("Skipped: %1 Reason: %2, not backed up").arg(folder, reason);
    QLBackupProgressLogger::progressLogger().writeSessionLog(message + u'\n', sessionLogFile(), true);
    postToSession([this, message, folder] {
        notify([this, message, folder](RuvoBackupRestoreHandlerProtocol &d) {
            d.operationDidReceiveErrors(message, folder, this);
        });
    });
}

void RuvoBackupManager::failItem(const QString &path, const QString &reason)
{
    postToSession([this, path, reason] {
        ++mFailureCount;
        const QString message = QStringLiteral("Error: %1 Reason: %2").arg(path, reason);
        notify([this, message, path](RuvoBackupRestoreHandlerProtocol &d) {
            d.operationDidReceiveErrors(message, path, this);
        });
    });
}

void RuvoBackupManager::didEndCalculation()
{
    const QStringList remainder = takeSelectedFiles();
    if (!mIsBackupCancel)
        writeBatch(remainder, QString());
    // The size calculation is over once the last files kept are measured too.
    mSizeTally->waitUntilCounted();
    // Listing is done only now: the end of the session waits for every block written before this.
    mFilesEnumerationDone = true;
    postToSession([this] { listingFinished(); });
}

void RuvoBackupManager::writeBatch(const QStringList &batch, const QString &parentFolder)
{
    const QStringList accepted = getBackupSetAfterFiltration(batch);
    if (accepted.isEmpty())
        return;
    if (mBackupMode)
        mDealer.writeRestoreSetToOperationFiles(accepted);
    else
        mDealer.writeSyncSetToOperationsFiles(accepted, parentFolder);
}

QStringList RuvoBackupManager::getBackupSetAfterFiltration(const QStringList &batch)
{
    const ExclusionFilter filter(ExclusionFilter::read(mUserObject.UserName()), PathRoots::volumesRoot(),
                                 PathRoots::homeFolder());
    const ExclusionFilter::Result result = filter.getBackupSetAfterFiltration(batch);
    if (!result.skipped.isEmpty()) {
        QLLogger::logQuellonSession(
            QStringLiteral("Excluded files set form Backup:\n%1\n").arg(result.skipped.join(u'\n')));
        mExcludedFilesCount += unsigned(result.skipped.size());
    }
    // Not the user's exclusion: an item the engine cannot be given fails, with its reason.
    for (const QString &path : result.unfit)
        failItem(path, ExclusionFilter::kLineBreakReason);
    // The session's total counts what will be backed up, so that the percentage can reach 100.
    mSizeTally->add(result.accepted);
    mFilesConsideredforOp += quint64(result.accepted.size());
    return result.accepted;
}

void RuvoBackupManager::blockWritten(long blockNumber)
{
    if (blockNumber != 0) {
        postToSession([this] { dispatchBlocks(); });
        return;
    }
    // Give the first engine time to start before more blocks appear (it copies
    // meanwhile). The wait counts as a fixed one only from the hand-over of the
    // block: until then the session is still at work, getting its engine going.
    using Clock = std::chrono::steady_clock;
    mFirstHandOverAt = Clock::time_point();
    postToSession([this] {
        dispatchBlocks();
        mFirstHandOverAt = Clock::now();
    });
    const Clock::time_point start = Clock::now();
    waitOnWorker(mTimings.firstLaunchSettle);
    const Clock::time_point end = Clock::now();
    const Clock::time_point handOver = mFirstHandOverAt;
    mFixedWaits.addWait(handOver == Clock::time_point() ? start : std::clamp(handOver, start, end), end);
}

void RuvoBackupManager::listingFinished()
{
    if (!isRestore)
        notify([](RuvoBackupRestoreHandlerProtocol &d) { d.backupsetSizeCalculationDidFinishSuccessfully(); });
    dispatchBlocks();
    finishIfIdle();
}
