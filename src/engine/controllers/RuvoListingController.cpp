#include "engine/controllers/RuvoListingController.h"

#include "engine/controllers/IndexUserName.h"
#include "engine/controllers/RuvoListingControllerDelegateProtocol.h"
#include "index/TXDatabaseWrapper.h"
#include "platform/MainThread.h"

#include <QCoreApplication>

RuvoListingController::RuvoListingController(IndexTimings timings)
    : mQuery(timings)
{
    if (QCoreApplication *application = QCoreApplication::instance())
        mMainThreadContext.moveToThread(application->thread());
}

IndexEntries RuvoListingController::fileList() const
{
    QMutexLocker lock(&mLock);
    return mFileList;
}

QString RuvoListingController::userNameForDB() { return IndexUserName::forAccount(mUserObject); }

void RuvoListingController::startListing()
{
    const QString root = mRootPath;
    // An end of an earlier listing that is already on its way is then dropped.
    mQuery.stop();
    ++mListingNumber;
    mQuery.start(userNameForDB(), *this, [root](TXDatabaseWrapper &index) { index.fetchChildrenForPath(root); });
    if (mDelegateObj)
        mDelegateObj->fileListingDidStart(this);
}

void RuvoListingController::queryFinishedWithEntries(const IndexEntries &entries)
{
    {
        QMutexLocker lock(&mLock);
        mFileList = entries;
    }
    tellOnMainThread(&RuvoListingControllerDelegateProtocol::fileListingDidFinishSuccessfully);
}

void RuvoListingController::queryFailedWithError(const QString &)
{
    // The browser empties its tree on a cancel; the reason is not shown.
    tellOnMainThread(&RuvoListingControllerDelegateProtocol::fileListingDidCancel);
}

void RuvoListingController::tellOnMainThread(
    void (RuvoListingControllerDelegateProtocol::*callback)(RuvoListingController *))
{
    const quint64 listing = mListingNumber;
    MainThread::runInThreadOf(&mMainThreadContext, [this, listing, callback] {
        if (listing == mListingNumber && mDelegateObj)
            (mDelegateObj->*callback)(this);
    });
}
