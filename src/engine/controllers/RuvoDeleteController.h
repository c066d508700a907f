#pragma once

#include "engine/command/TXCommandDelegate.h"
#include "engine/command/TXCommandExcecuter.h"
#include "engine/controllers/EngineControllerFields.h"
#include "engine/controllers/RuvoSearchControllerDelegateProtocol.h"
#include "index/IndexTimings.h"

#include <QHash>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

#include <atomic>
#include <chrono>
#include <memory>

class QTemporaryDir;
class RuvoDeleteControllerDelegateProtocol;
class RuvoSearchController;

struct RuvoDeleteTimings
{
    // A pause after every so many parsed output lines, so the main thread
    // keeps answering while a large delete reports its items.
    int linesPerPause = 100;
    std::chrono::milliseconds linePause{100};
    TXCommandExcecuterTimings runner;
    IndexTimings index;
};

// Deletes the files and folders the user selected from the backup data on
// the drive. The selection is expanded through the index (one search for the
// folders, one for the files), each search result becomes a set of
// "/<folderID>/<encFilename>" lines for one computer folder, and the engine
// deletes one set per run, one run at a time. Searches only collect rows on
// their worker threads; sets, runs and every callback after deleteDidStart
// are handled on the main thread. The index is not changed here: the
// delegate records the deleted items.
class RuvoDeleteController : public EngineControllerFields,
                             private TXCommandDelegate,
                             private RuvoSearchControllerDelegateProtocol
{
public:
    explicit RuvoDeleteController(RuvoDeleteTimings timings = {});
    ~RuvoDeleteController() override;

    void setDelegate(RuvoDeleteControllerDelegateProtocol *delegate) { mDelegateObj = delegate; }
    // The data root on the drive.
    void setDestinationPath(const QString &path) { mDestinationPath = path; }
    QString DestinationPath() const { return mDestinationPath; }
    // Selected folders, each as the tree gives its path.
    void setMFolderSetFordelete(const QStringList &folders) { mFolderSetFordelete = folders; }
    // Selected files: each entry maps one parent folder to the selected file names in it.
    void setMFileSetForDelete(const QList<QVariantMap> &files) { mFileSetForDelete = files; }

    bool isRunning() const { return mIsRunning; }
    bool isCanceled() const { return mDeletionCancel; }
    bool isDeletionSuccesful() const { return mIsDeletionSuccesful; }
    QString userNameForDB() const;

    // Starts deleting the selection; ignored while an operation runs.
    void startDelete();
    // Stops the operation: queued sets and late search results are dropped,
    // the running engine is stopped, and deleteDidCancel follows once it ended.
    void cancelDelete();

private:
    struct DeleteSet
    {
        QStringList lines;
        QString computerFolder;
        QHash<QString, QString> pathsByStoredName;  // each line's item by its index path
    };
    enum class SearchKind
    {
        Folders,
        Files
    };

    // Search callbacks, on the search's worker thread: passed to the main thread.
    void searchDidReceiveData(const IndexEntries &rows, RuvoSearchController *search) override;
    void searchDidFinishSuccessfully(RuvoSearchController *search) override;
    void searchDidFailWithError(const QString &error, RuvoSearchController *search) override;
    void searchDidCancel(RuvoSearchController *) override {}
    void onMainThread(std::function<void()> work);

    // Main thread.
    void startSearch(SearchKind kind);
    SearchKind kindOf(RuvoSearchController *search) const;
    bool advanceSearch(SearchKind kind);
    void setFinished(RuvoSearchController *search);
    void searchFailed(RuvoSearchController *search, const QString &error);
    void closeSet(DeleteSet set);
    void setDone(bool succeeded, const QString &error);
    void RuvofireDeleteEngineForFiles(const DeleteSet &set);
    void callRuvo();
    void ruvoTaskFinished(TXCommandExcecuter *runner) override;
    void readOutPut(TXCommandExcecuter *) override;
    void ParseDeleteOperation(const QString &text);
    QString failureText(const QString &errors);
    void endCancelled();

    RuvoDeleteControllerDelegateProtocol *mDelegateObj = nullptr;
    const RuvoDeleteTimings mTimings;
    TXCommandExcecuter mCommandExe;
    QString mDestinationPath = QStringLiteral("");
    QStringList mFolderSetFordelete;
    QList<QVariantMap> mFileSetForDelete;
    int mFolderCountForDelete = 0;
    int mFileCountForDelete = 0;
    std::atomic<bool> mBackupMode = true;  // read by the searches' threads
    bool mIsRunning = false;
    bool mDeletionCancel = false;
    bool mIsDeletionSuccesful = false;
    bool mRunInFlight = false;
    int mDeleteMaxEngineCount = 0;
    QList<DeleteSet> mDeleteSetWithMPC;
    QHash<RuvoSearchController *, DeleteSet> mCollecting;  // the set each search is collecting
    std::unique_ptr<QTemporaryDir> mListFolder;            // the list of the run in flight
    QHash<QString, QString> mRunPaths;                     // pathsByStoredName of the latest run
    // Search results of an earlier (cancelled) operation carry an older number and are dropped.
    std::atomic<quint64> mOperation = 0;
    QObject mMainThreadContext;
    std::unique_ptr<RuvoSearchController> mFolderSearch;
    std::unique_ptr<RuvoSearchController> mFileSearch;
};
