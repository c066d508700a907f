#pragma once

#include "engine/controllers/EngineControllerFields.h"
#include "engine/controllers/IndexQuery.h"
#include "index/TXDatabaseWrapperDelegate.h"

#include <QMutex>
#include <QObject>
#include <QString>

#include <atomic>

class RuvoListingControllerDelegateProtocol;

// Lists the children of one folder of the backup data for the destination
// browser, from the account's main index (never the engine): the query runs
// on a worker thread and the delegate hears the end on the main thread. The
// browser makes one controller per folder it opens.
class RuvoListingController : public EngineControllerFields, private TXDatabaseWrapperDelegate
{
public:
    explicit RuvoListingController(IndexTimings timings = {});

    void setDelegate(RuvoListingControllerDelegateProtocol *delegate) { mDelegateObj = delegate; }
    void setUser(const User &account) { mUserObject = account; }
    // The folder to list as the index names it, root-relative ("" for the root).
    void setPathRoot(const QString &root) { mRootPath = root; }
    QString rootPath() const { return mRootPath; }

    // The entries of the last listing, unchanged from the index: folders
    // (their stored path and type) first, then files (name, type, date,
    // size and version).
    IndexEntries fileList() const;

    // The user that names the account's main index (IndexUserName).
    QString userNameForDB();

    void startListing();
    // Does nothing: a listing is quick, and its result is still delivered.
    void cancelListing() {}

private:
    void queryFinishedWithEntries(const IndexEntries &entries) override;
    void queryFailedWithError(const QString &error) override;
    // Posts the end of the current listing to the delegate.
    void tellOnMainThread(void (RuvoListingControllerDelegateProtocol::*callback)(RuvoListingController *));

    RuvoListingControllerDelegateProtocol *mDelegateObj = nullptr;
    QString mRootPath;
    mutable QMutex mLock;  // guards the list, written on the worker thread
    IndexEntries mFileList;
    std::atomic<quint64> mListingNumber = 0;
    // Lives on the main thread; what is posted to it is dropped with the controller.
    QObject mMainThreadContext;
    IndexQuery mQuery;  // last: goes first
};
