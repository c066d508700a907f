#include "session/manager/RestoreSelection.h"

#include "common/logging/QLBackupProgressLogger.h"
#include "common/texts/QLLocalizedString.h"
#include "engine/controllers/RuvoSearchController.h"

namespace {

enum SearchKind
{
    Folders = 0,
    Files = 1
};

}  // namespace

std::optional<QString> RestoreSelection::restoreListLine(const IndexEntry &entry, bool backupMode)
{
    if (entry.fileName.endsWith(u'/'))
        return std::nullopt;
    if (!backupMode)
        return QStringLiteral("/%1/%2").arg(entry.folderID, entry.encFilename);
    return QStringLiteral("%1/%2/%3").arg(entry.mpcName, entry.folderID, entry.encFilename);
}

RestoreSelection::RestoreSelection(IndexTimings timings, const std::atomic<bool> &cancelled, Hooks hooks)
    : mTimings(timings)
    , mCancelled(cancelled)
    , mHooks(std::move(hooks))
{}

RestoreSelection::~RestoreSelection()
{
    for (Search &search : mSearches)
        search.controller.reset();
}

void RestoreSelection::start(const QStringList &folders, const QStringList &files, const User &user,
                             const ProxyController &proxy, bool backupMode)
{
    mBackupMode = backupMode;
    begin(mSearches[Folders], folders, RuvoSearchController::InsideFolder, user, proxy);
    begin(mSearches[Files], files, RuvoSearchController::ForPath, user, proxy);
    // Nothing picked: listing is over before it began.
    listedIfDone();
}

void RestoreSelection::begin(Search &search, const QStringList &picks, int opType, const User &user,
                             const ProxyController &proxy)
{
    search.picks = picks;
    search.next = 0;
    search.done = picks.isEmpty();
    if (search.done)
        return;
    search.controller = std::make_unique<RuvoSearchController>(mTimings);
    RuvoSearchController &controller = *search.controller;
    controller.setDelegate(this);
    controller.setExecutorPath(
        QLLocalizedString(mBackupMode ? QStringLiteral("ExecuterPathRuvo") : QStringLiteral("SyncExecuterPathRuvo")));
    controller.setUser(user);
    controller.setProxyDetails(proxy);
    controller.setSearchKey(QString());
    controller.setOpType(opType);
    searchNextPick(search);
}

void RestoreSelection::searchNextPick(Search &search)
{
    RuvoSearchController &controller = *search.controller;
    const QString pick = search.picks.at(search.next);
    // Folders are picked relative to the data root; a file is its index path.
    if (controller.opType() == RuvoSearchController::InsideFolder)
        controller.setPathRoot(pick.startsWith(u'/') ? pick : u'/' + pick);
    else
        controller.setPathRoot(pick);
    search.rowsBefore = controller.fileList().size();
    mHooks.searchStarts();
    controller.startSearch();
}

void RestoreSelection::cancel()
{
    for (Search &search : mSearches)
        if (search.controller)
            search.controller->cancelSearch();
}

// --- On the search's thread ---

void RestoreSelection::searchDidReceiveData(const IndexEntries &rows, RuvoSearchController *controller)
{
    if (mCancelled) {
        controller->cancelSearch();
        return;
    }
    bool full = false;
    {
        std::lock_guard lock(mQueueLock);
        for (const IndexEntry &entry : rows) {
            const std::optional<QString> line = restoreListLine(entry, mBackupMode);
            if (!line)
                continue;
            // Room for a whole batch at once: growing the queue line by line would copy it over and over.
            if (mQueue.isEmpty())
                mQueue.reserve(kBatch);
            mQueue.append(*line);
            mQueuedBytes += entry.fileSize;
        }
        full = mQueue.size() >= kBatch;
    }
    if (full)
        flush();
}

void RestoreSelection::searchDidFinishSuccessfully(RuvoSearchController *controller)
{
    if (!mCancelled)
        flush();
    mHooks.toSession([this, controller] { searchEnded(controller, std::nullopt); });
}

// A failed search ends its pick like a finished one: what it queued is
// handed on, the next pick is searched, and the session ends as a failure.
void RestoreSelection::searchDidFailWithError(const QString &error, RuvoSearchController *controller)
{
    if (!mCancelled)
        flush();
    mHooks.toSession([this, controller, error] { searchEnded(controller, error); });
}

void RestoreSelection::searchDidCancel(RuvoSearchController *controller)
{
    mHooks.toSession([this, controller] { searchEnded(controller, std::nullopt); });
}

void RestoreSelection::flush()
{
    QStringList lines;
    quint64 bytes = 0;
    {
        std::lock_guard lock(mQueueLock);
        lines = std::exchange(mQueue, {});
        bytes = std::exchange(mQueuedBytes, 0);
    }
    if (!lines.isEmpty())
        mHooks.found(lines, bytes);
}

// --- On the main thread ---

void RestoreSelection::searchEnded(RuvoSearchController *controller, const std::optional<QString> &failure)
{
    const auto found = std::find_if(mSearches.begin(), mSearches.end(),
                                    [controller](const Search &each) { return each.controller.get() == controller; });
    if (found == mSearches.end() || found->done)
        return;
    Search &search = *found;
    const QString root = controller->rootPath();
    if (failure) {
        QLBackupProgressLogger::progressLogger().logInteractiveTrace(
            QStringLiteral("Restore search of %1 failed: %2").arg(root, *failure), true);
        if (!mFailure)
            mFailure = QStringLiteral("Unable to continue the operation. Reason: the backup index could not be "
                                      "searched (%1).")
                           .arg(*failure);
    } else if (!mCancelled && controller->fileList().size() == search.rowsBefore) {
        mHooks.emptyPick(root);
    }
    if (!mCancelled && ++search.next < search.picks.size()) {
        searchNextPick(search);
        return;
    }
    search.done = true;
    listedIfDone();
}

void RestoreSelection::listedIfDone()
{
    if (!mSearches[Folders].done || !mSearches[Files].done || std::exchange(mListed, true))
        return;
    mHooks.listed();
}
