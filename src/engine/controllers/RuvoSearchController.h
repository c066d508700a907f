#pragma once

#include "engine/controllers/EngineControllerFields.h"
#include "engine/controllers/IndexQuery.h"
#include "index/TXDatabaseWrapperDelegate.h"

#include <QMutex>
#include <QString>
#include <QVariantMap>

#include <atomic>

class RuvoSearchControllerDelegateProtocol;

// Finds records of the account's main index on a worker thread and hands the
// rows to its delegate: a key search under a root folder (the search view),
// every file inside a folder and the record of one path (delete, restore and
// the version list). It never starts the engine.
class RuvoSearchController : public EngineControllerFields, private TXDatabaseWrapperDelegate
{
public:
    explicit RuvoSearchController(IndexTimings timings = {})
        : mQuery(timings)
    {}

    enum OpType
    {
        KeySearch = 0,     // files under the root whose name or folder path holds the key
        InsideFolder = 1,  // every file in the root folder and below it
        ForPath = 2,       // the record of the root path
    };

    void setDelegate(RuvoSearchControllerDelegateProtocol *delegate) { mDelegateObj = delegate; }
    void setUser(const User &account) { mUserObject = account; }
    void setProxyDetails(const ProxyController &proxy) { mProxyObject = proxy; }

    // An absolute folder for KeySearch and InsideFolder, a file path for ForPath; "/" at first.
    void setPathRoot(const QString &root);
    QString rootPath() const;
    // The key as the index matches it: every "*" of the user's key becomes "%".
    void setSearchKey(const QString &key);
    QString searchKey() const;
    void setOpType(int type) { mOpType = type; }
    int opType() const { return mOpType; }

    // Every entry delivered so far, over all searches of this controller.
    IndexEntries fileList() const;
    bool isRunning() const { return mIsRunning; }
    void setRunningState(bool running) { mIsRunning = running; }

    // Searches as the operation type says. A search started while another
    // runs takes its place: the earlier one reports nothing more.
    void startSearch();
    // The records of the named files of one folder: {root-relative folder: [file names]}.
    void startSearchForFiles(const QVariantMap &namesByFolder);
    // A key search stops at its next batch of rows; any other query runs to
    // its end. Either way the search ends with searchDidCancel.
    void cancelSearch() { mIsRunning = false; }

private:
    void run(IndexQuery::Query query);
    void queryFinishedWithEntries(const IndexEntries &entries) override;
    void queryFailedWithError(const QString &error) override;
    // A key search hands its rows over as they are read (the other queries
    // deliver all at once), so that a large result shows as it comes and a
    // cancel stops it.
    bool takesRowsAsTheyCome() const override { return true; }
    bool queryDidReadRows(const IndexEntries &rows) override;
    // Adds the rows to the list and hands them to the delegate.
    void deliver(const IndexEntries &rows, RuvoSearchControllerDelegateProtocol *delegate);

    std::atomic<RuvoSearchControllerDelegateProtocol *> mDelegateObj = nullptr;
    mutable QMutex mLock;  // guards what follows, which the delegate may read on the worker thread
    QString mRootPath = QStringLiteral("/");
    QString mSearchkey;
    IndexEntries mFileList;
    std::atomic<int> mOpType = KeySearch;
    std::atomic<bool> mIsRunning = false;
    IndexQuery mQuery;  // last: goes first
};
