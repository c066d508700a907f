// A restore's selection: the drive's index is searched for every file of each
// picked folder and for each picked file; the engine-side paths found are
// queued and dealt into list blocks on the search's thread, with no exclusion
// filtering. Each search moves to its next pick on the main thread, and
// listing is done only when both searches have passed their last pick.

#include "session/manager/RuvoBackupManager.h"

#include "common/logging/QLBackupProgressLogger.h"
#include "common/texts/QLLocalizedString.h"
#include "engine/controllers/RuvoSearchController.h"
#include "session/manager/RuvoBackupRestoreHandlerProtocol.h"

namespace {

enum RestoreSearchKind { Folders = 0, Files = 1 };

}  // namespace

std::optional<QString> RuvoBackupManager::restoreListLine(const IndexEntry &entry, bool backupMode)
{
    if (entry.fileName.endsWith(u'/'))
        return std::nullopt;
    if (!backupMode)
        return QStringLiteral("/%1/%2").arg(entry.folderID, entry.encFilename);
    return QStringLiteral("%1/%2/%3").arg(entry.mpcName, entry.folderID, entry.encFilename);
}

void RuvoBackupManager::startRestore()
{
    trace(QStringLiteral("In ExecuteRestore"));
    if (!prepareSession(true))
        return;
    notify([this](RuvoBackupRestoreHandlerProtocol &d) { d.operationDidStart(this); });
    beginRestoreSearch(mRestoreSearches[Folders], mFolderSetForRelativeRestoreValue, RuvoSearchController::InsideFolder);
    beginRestoreSearch(mRestoreSearches[Files], mFileSetForRestoreValue, RuvoSearchController::ForPath);
    // Nothing picked: listing is over before it began.
    restoreListingFinished();
}

void RuvoBackupManager::beginRestoreSearch(RestoreSearch &restoreSearch, const QStringList &picks, int opType)
{
    restoreSearch.picks = picks;
    restoreSearch.next = 0;
    restoreSearch.done = picks.isEmpty();
    if (restoreSearch.done)
        return;
    restoreSearch.search = std::make_unique<RuvoSearchController>(mTimings.index);
    RuvoSearchController &search = *restoreSearch.search;
    search.setDelegate(this);
    search.setExecutorPath(QLLocalizedString(mBackupMode ? QStringLiteral("ExecuterPathRuvo")
                                                         : QStringLiteral("SyncExecuterPathRuvo")));
    search.setUser(mUserObject);
    search.setProxyDetails(mProxyObject);
    search.setSearchKey(QString());
    search.setOpType(opType);
    searchNextPick(restoreSearch);
}

void RuvoBackupManager::searchNextPick(RestoreSearch &restoreSearch)
{
    RuvoSearchController &search = *restoreSearch.search;
    const QString pick = restoreSearch.picks.at(restoreSearch.next);
    // Folders are picked relative to the data root; a file is its index path.
    if (search.opType() == RuvoSearchController::InsideFolder)
        search.setPathRoot(pick.startsWith(u'/') ? pick : u'/' + pick);
    else
        search.setPathRoot(pick);
    restoreSearch.rowsBefore = search.fileList().size();
    // The index is opened after its fixed wait.
    countFixedWait(mTimings.index.openWait);
    search.startSearch();
}

// --- On the search's thread ---

void RuvoBackupManager::searchDidReceiveData(const IndexEntries &rows, RuvoSearchController *search)
{
    if (mIsBackupCancel) {
        search->cancelSearch();
        return;
    }
    quint64 bytes = 0;
    quint64 files = 0;
    bool full = false;
    {
        std::lock_guard lock(mLockforSelectedFile);
        for (const IndexEntry &row : rows) {
            const std::optional<QString> line = restoreListLine(row, mBackupMode);
            if (!line)
                continue;
            queueSelectedFile(*line);
            bytes += row.fileSize;
            ++files;
        }
        full = mSelectedFilePaths.size() >= kQueueBatch;
    }
    mTotalBytes += bytes;
    mFilesConsideredforOp += files;
    if (full)
        flushRestoreQueue();
}

void RuvoBackupManager::searchDidFinishSuccessfully(RuvoSearchController *search)
{
    if (!mIsBackupCancel)
        flushRestoreQueue();
    postToSession([this, search] { restoreSearchEnded(search, std::nullopt); });
}

// A failed search ends its pick like a finished one: what it queued is
// written, the next pick is searched, and the session ends as a failure.
void RuvoBackupManager::searchDidFailWithError(const QString &error, RuvoSearchController *search)
{
    if (!mIsBackupCancel)
        flushRestoreQueue();
    postToSession([this, search, error] { restoreSearchEnded(search, error); });
}

void RuvoBackupManager::searchDidCancel(RuvoSearchController *search)
{
    postToSession([this, search] { restoreSearchEnded(search, std::nullopt); });
}

void RuvoBackupManager::flushRestoreQueue()
{
    const QStringList queued = takeSelectedFiles();
    if (!queued.isEmpty())
        mDealer.writeRestoreSetToOperationFiles(queued);
}

// --- On the main thread ---

void RuvoBackupManager::restoreSearchEnded(RuvoSearchController *search, const std::optional<QString> &failure)
{
    const auto found = std::find_if(mRestoreSearches.begin(), mRestoreSearches.end(),
                                    [search](const RestoreSearch &each) { return each.search.get() == search; });
    if (found == mRestoreSearches.end() || found->done)
        return;
    RestoreSearch &restoreSearch = *found;
    const QString root = search->rootPath();
    if (failure) {
        trace(QStringLiteral("Restore search of %1 failed: %2").arg(root, *failure));
        if (mSearchFailure.isEmpty())
            mSearchFailure = QStringLiteral("Unable to continue the operation. Reason: the backup index could not be "
                                            "searched (%1).").arg(*failure);
    } else if (!mIsBackupCancel && search->fileList().size() == restoreSearch.rowsBefore) {
        const QString message = QStringLiteral("Empty Folder encountered:%1").arg(root);
        notify([this, message](RuvoBackupRestoreHandlerProtocol &d) { d.operationDidReceiveErrors(message, QString(), this); });
    }
    if (!mIsBackupCancel && ++restoreSearch.next < restoreSearch.picks.size()) {
        searchNextPick(restoreSearch);
        return;
    }
    restoreSearch.done = true;
    restoreListingFinished();
}

// Listing is done once both searches are: the session may end when every block written has run.
void RuvoBackupManager::restoreListingFinished()
{
    if (!mRestoreSearches[Folders].done || !mRestoreSearches[Files].done || mFilesEnumerationDone)
        return;
    mFilesEnumerationDone = true;
    if (!mIsBackupCancel) {
        const quint64 bytes = mTotalBytes;
        notify([bytes](RuvoBackupRestoreHandlerProtocol &d) { d.operationDidFinishFileListGeneration(bytes); });
    }
    listingFinished();
}

void RuvoBackupManager::stopRestoreSearches()
{
    for (RestoreSearch &restoreSearch : mRestoreSearches)
        if (restoreSearch.search)
            restoreSearch.search->cancelSearch();
}
