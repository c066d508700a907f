// A restore session: its selection comes from the drive's index (see
// RestoreSelection) and is dealt into list blocks as it arrives.

#include "session/manager/RuvoBackupManager.h"

#include "session/manager/RuvoBackupRestoreHandlerProtocol.h"

void RuvoBackupManager::startRestore()
{
    trace(QStringLiteral("In ExecuteRestore"));
    if (!prepareSession(true))
        return;
    notify([this](RuvoBackupRestoreHandlerProtocol &d) { d.operationDidStart(this); });
    mRestoreSelection = std::make_unique<RestoreSelection>(mTimings.index, mIsBackupCancel, restoreHooks());
    mRestoreSelection->start(mFolderSetForRelativeRestoreValue, mFileSetForRestoreValue, mUserObject, mProxyObject,
                             mBackupMode);
}

RestoreSelection::Hooks RuvoBackupManager::restoreHooks()
{
    RestoreSelection::Hooks hooks;
    hooks.toSession = [this](std::function<void()> work) { postToSession(std::move(work)); };
    hooks.found = [this](const QStringList &lines, quint64 bytes) {
        mTotalBytes += bytes;
        mFilesConsideredforOp += quint64(lines.size());
        mDealer.writeRestoreSetToOperationFiles(lines);
    };
    hooks.emptyPick = [this](const QString &root) {
        const QString message = QStringLiteral("Empty Folder encountered:%1").arg(root);
        notify([this, message](RuvoBackupRestoreHandlerProtocol &d) {
            d.operationDidReceiveErrors(message, QString(), this);
        });
    };
    // The index is opened after its fixed wait.
    hooks.searchStarts = [this] { countFixedWait(mTimings.index.openWait); };
    hooks.listed = [this] { restoreListingFinished(); };
    return hooks;
}

// Listing is done: the session may end when every block written has run.
void RuvoBackupManager::restoreListingFinished()
{
    mFilesEnumerationDone = true;
    if (!mIsBackupCancel) {
        const quint64 bytes = mTotalBytes;
        notify([bytes](RuvoBackupRestoreHandlerProtocol &d) { d.operationDidFinishFileListGeneration(bytes); });
    }
    listingFinished();
}
