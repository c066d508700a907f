#include "engine/controllers/RuvoSearchController.h"

#include "engine/controllers/IndexUserName.h"
#include "engine/controllers/RuvoSearchControllerDelegateProtocol.h"
#include "index/IndexQueryKeys.h"
#include "index/TXDatabaseWrapper.h"

void RuvoSearchController::setPathRoot(const QString &root)
{
    QMutexLocker lock(&mLock);
    mRootPath = root;
}

QString RuvoSearchController::rootPath() const
{
    QMutexLocker lock(&mLock);
    return mRootPath;
}

void RuvoSearchController::setSearchKey(const QString &key)
{
    QMutexLocker lock(&mLock);
    mSearchkey = QString(key).replace(QLatin1Char('*'), QLatin1Char('%'));
}

QString RuvoSearchController::searchKey() const
{
    QMutexLocker lock(&mLock);
    return mSearchkey;
}

IndexEntries RuvoSearchController::fileList() const
{
    QMutexLocker lock(&mLock);
    return mFileList;
}

void RuvoSearchController::startSearch()
{
    const QString root = rootPath();
    switch (mOpType) {
    case InsideFolder:
        return run([root](TXDatabaseWrapper &index) { index.searchEncryptedNameInsidePath(root); });
    case ForPath:
        return run([root](TXDatabaseWrapper &index) { index.searchEncryptedNameForPath(root); });
    default:
        const QVariantMap search{{IndexQueryKeys::kSearchKey, searchKey()}, {IndexQueryKeys::kPathRootForSearch, root}};
        return run([search](TXDatabaseWrapper &index) { index.searchForKeyInsidePath(search); });
    }
}

void RuvoSearchController::startSearchForFiles(const QVariantMap &namesByFolder)
{
    run([namesByFolder](TXDatabaseWrapper &index) { index.searchEncryptedNameForPaths(namesByFolder); });
}

void RuvoSearchController::run(IndexQuery::Query query)
{
    // The earlier query goes first, so that its result cannot take the new running flag.
    mQuery.stop();
    mIsRunning = true;
    // Told before the query starts: its result may come at once on the worker thread.
    if (RuvoSearchControllerDelegateProtocol *delegate = mDelegateObj)
        delegate->searchDidStart(this);
    mQuery.start(IndexUserName::forAccount(mUserObject), *this, std::move(query));
}

void RuvoSearchController::queryFinishedWithEntries(const IndexEntries &entries)
{
    // Read before the callbacks: a delegate may dispose of this controller in its last one.
    RuvoSearchControllerDelegateProtocol *delegate = mDelegateObj;
    // Only one of a cancel and the result wins the running flag.
    if (!mIsRunning.exchange(false)) {
        if (delegate)
            delegate->searchDidCancel(this);
        return;
    }
    deliver(entries, delegate);
    if (delegate)
        delegate->searchDidFinishSuccessfully(this);
}

bool RuvoSearchController::queryDidReadRows(const IndexEntries &rows)
{
    RuvoSearchControllerDelegateProtocol *delegate = mDelegateObj;
    // Cancelled meanwhile: the query reads no further and reports nothing more.
    if (!mIsRunning) {
        if (delegate)
            delegate->searchDidCancel(this);
        return false;
    }
    deliver(rows, delegate);
    return true;
}

void RuvoSearchController::deliver(const IndexEntries &rows, RuvoSearchControllerDelegateProtocol *delegate)
{
    {
        QMutexLocker lock(&mLock);
        mFileList += rows;
    }
    if (delegate)
        delegate->searchDidReceiveData(rows, this);
}

void RuvoSearchController::queryFailedWithError(const QString &error)
{
    RuvoSearchControllerDelegateProtocol *delegate = mDelegateObj;
    const bool cancelled = !mIsRunning.exchange(false);
    if (!delegate)
        return;
    if (cancelled)
        delegate->searchDidCancel(this);
    else
        delegate->searchDidFailWithError(error, this);
}
