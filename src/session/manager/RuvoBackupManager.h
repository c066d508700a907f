#pragma once

#include "common/account/User.h"
#include "common/proxy/ProxyController.h"
#include "engine/command/TarnixProcessLibController.h"
#include "session/blocks/ListBlockDealer.h"
#include "session/enumeration/folderEnumeratorDelegateProtocol.h"
#include "session/errors/RetryPolicy.h"
#include "session/manager/FixedWaitLedger.h"
#include "session/manager/MainControllerIndexQueue.h"
#include "session/manager/RestoreSelection.h"
#include "session/manager/SessionDriver.h"
#include "session/manager/SessionTimings.h"
#include "session/operation/OperationFolder.h"
#include "session/progress/ProgressAccounting.h"

#include <QObject>
#include <QStringList>
#include <QTimer>
#include <QVariantMap>

#include <array>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

class FileSizeTally;
class FolderEnumerator;
class RestoreSelection;
class RuvoBackupRestoreHandlerProtocol;
class TarnixProcessLib;

// One backup (backup mode or sync mode) or restore session against the
// destination drive. It walks and filters the selection (a backup) or asks the
// index for it (a restore), deals the paths into numbered list blocks in its
// operation folder, runs the engine on the blocks with two engine processes,
// turns their output into progress reports, retries network errors and ends
// with exactly one end state, all told to its delegate on the main thread.
// The restore's selection, the progress accounting and the retry policy are
// classes of their own; this class holds the session together.
//
// Lives on the main thread. The walk runs on a worker thread of its own; the
// engines' callbacks, the hand-over of blocks and the end run on the main thread.
class RuvoBackupManager : public QObject,
                          public SessionDriver,
                          public TarnixProcessLibController,
                          private folderEnumeratorDelegateProtocol
{
    Q_OBJECT

public:
    explicit RuvoBackupManager(SessionTimings timings = {}, QObject *parent = nullptr);
    ~RuvoBackupManager() override;

    // Drivers for the client's pages: each set up as a fresh Backup tab's
    // (relative paths from "/", the whole selection, a new operation folder)
    // and telling the page what happens.
    static Factory factory(SessionTimings timings = {});

    // --- Set-up, by the session's creator ---

    void setDelegate(RuvoBackupRestoreHandlerProtocol *delegate) { delegate_ = delegate; }
    User &userInfo() { return mUserObject; }
    void setuserInfo(const User &user) override;
    void setProxyObjectWithSettingsFile(const QString &path);
    const ProxyController &proxyObject() const { return mProxyObject; }
    void setExecutorPath(const QString &path) override { mQuellonExecutorPath = path; }
    void setApplicationSupportFolder(const QString &path) { mApplicationSupportFolderPath = path; }
    // Backup: the root relative paths hang from. Restore: the local folder that receives the items.
    void setBackupSourceFolder(const QString &path) override { mBackupSourceFolder = path; }
    QString backupSourceFolder() const { return mBackupSourceFolder; }
    // The data root on the drive. A path too short to be one is not kept: the
    // session then refuses to start rather than write to a folder of its own choosing.
    void setDestinationPath(const QString &path) override;
    QString DestinationPath() const override { return mDestinationPath; }
    void setRestore(bool restore) { isRestore = restore; }
    void setRelativeOperation(bool relative) { mPerformRelativeOperation = relative; }
    void setForOB(bool whole) { forOB = whole; }
    void shouldBackupVersions(bool keep) override { mShouldBackupVersions = keep; }
    void setMBackupMode(bool backupMode) override { mBackupMode = backupMode; }
    bool mBackupModeValue() const { return mBackupMode; }
    void setRunningState(bool running) override { mIsRunning = running; }
    bool isRunning() const override { return mIsRunning; }
    void setFileFolderSetForOperation(const QStringList &paths) override { mFileFolderSetForOperation = paths; }
    QStringList fileFolderSetForOperation() const { return mFileFolderSetForOperation; }
    // A restore's picks: folders relative to the data root (no leading "/") and files as given.
    QStringList &mFolderSetForRelativeRestore() override { return mFolderSetForRelativeRestoreValue; }
    QStringList &mFileSetForRestore() override { return mFileSetForRestoreValue; }
    // Where stored files are recorded for the drive's index: by default the
    // main controller's index manager.
    void setBackedUpFileQueue(BackedUpFileQueue *queue) override { mBackedUpFileQueue = queue; }

    // --- The operation folder and its control files ---

    void createTempFilePaths();
    void removeTempFilePaths() override { mOperationFolder.remove(); }
    void deleteTempFilePaths() { mOperationFolder.remove(); }
    QString operationFolderPath() const { return mOperationFolder.path(); }
    // "3" (cancel) or "0" into the engines' cancel file.
    void setCancel(bool cancel);
    void setBandwidthThrottleValue(const QString &value);
    QString bandWidthThrottleValue() const;
    // Pause writes "-1" into the throttle file, which the engines read; resume
    // puts back what was there before the pause. A pause while paused does
    // nothing. Every session start, cancel and end state clears the pause.
    void pause(bool paused) override;

    // --- Sessions ---

    // A page's driver first makes a missing data root (a first backup to a drive).
    void startBackup() override;
    // Asks the drive's index for every file of the picked folders and for each
    // picked file, and restores them into the backup source folder.
    void startRestore() override;
    // The user's cancel: the engines are told through the cancel file and stopped.
    void CancelBackupProcess() override;

    // --- Read by the delegate, mostly after the end state ---

    bool isExcludedFromBackupSet() const override { return mExcludedFilesCount > 0; }
    unsigned excludedFilesCount() const override { return mExcludedFilesCount; }
    long succesFileCount() const override;
    long incSuccessFileCount() const override { return std::max(0L, mProgress.incSuccessCount()); }
    long failureFileCount() const override { return mFailureCount; }
    long syncFileCount() const { return mProgress.syncFileCount(); }
    quint64 totalBytes() const { return mTotalBytes; }
    quint64 filesConsideredforOp() const { return mFilesConsideredforOp; }
    long blocksWritten() const { return mDealer.blocksWritten(); }
    // The wall time this session spent in fixed waits (the walk's pauses, the
    // engines' finish waits, the first launch's settling, retries, the end
    // wait, the index's open wait) while no engine ran: what a benchmark takes off the session's time.
    std::chrono::milliseconds fixedWaitsSpent() const { return mFixedWaits.spent(std::chrono::steady_clock::now()); }

    // --- Engine callbacks (TarnixProcessLibController), main thread ---

    void updateProgress(const QString &lines, TarnixProcessLib *engine) override;
    void getError(const QString &text, TarnixProcessLib *engine) override;
    void processFinishedOfEngine(TarnixProcessLib *engine) override;

    TarnixProcessLib *engineOne() const { return mEngines[0].process.get(); }
    TarnixProcessLib *engineTwo() const { return mEngines[1].process.get(); }

private:
    // A line of the session's trace, written at once unless told otherwise.
    static void trace(const QString &line, bool flush = true);
    // One of the two engine processes and what the session keeps of its runs.
    struct EngineSlot
    {
        std::unique_ptr<TarnixProcessLib> process;
        int number = 1;
        long blockNumber = -1;  // the block it runs or last ran
        QString baseFolder;     // the first line of that block (sync mode, restores)
        bool launchedThisSession = false;
        bool awaitingFinish = false;  // launched, processFinishedOfEngine not yet heard
        bool errorThisRun = false;
        int failuresThisRun = 0;
        bool stopRequested = false;  // we stopped it: its exit status means nothing
        bool retryFlag = false;
        std::unique_ptr<QTimer> retryTimer;
        QString listFile;

        int index() const { return number - 1; }
        bool busy() const { return awaitingFinish || retryTimer->isActive(); }
    };

    enum class EndState
    {
        Success,
        Failure,
        OverQuota,
        Cancel
    };

    // Session start (RuvoBackupManager.cpp)
    // Checks what a session needs and resets it; a refusal is the session's one end state.
    bool prepareSession(bool restore);
    void resetSession();
    void clearPause();
    void startRSyncOperation();
    void stopRSyncOperation();
    void startElapsedClock();
    void updateBackupRestoreScreenTime();
    void ExecuteBackup(const QStringList &selection);
    void postToSession(std::function<void()> work);
    void notify(std::function<void(RuvoBackupRestoreHandlerProtocol &)> call);
    void waitOnWorker(std::chrono::milliseconds wait);
    void joinWorker();
    // A fixed wait that begins now.
    void countFixedWait(std::chrono::milliseconds wait);
    QString sessionLogFile() const { return mSessionLogFile; }

    // Walk callbacks, on the worker (RuvoBackupManagerBlocks.cpp)
    void didFoundFile(const QString &path, quint64 size) override;
    void didEndFolderEnumeration(const FoundFiles &files, const QString &parentFolder) override;
    void didEncounterError(const QString &folder, const QString &description) override;
    void didSkipMountPoint(const QString &folder, const QString &reason) override;
    void didEndCalculation() override;
    void writeBatch(const QStringList &batch, const QString &parentFolder);
    // An item that cannot be backed up: a failure under its path, told to the delegate.
    void failItem(const QString &path, const QString &reason);
    QStringList getBackupSetAfterFiltration(const QStringList &batch);
    // The queue of found paths: filled path by path, taken a batch at a time.
    void queueSelectedFile(const QString &path);  // with mLockforSelectedFile held
    QStringList takeSelectedFiles();
    void blockWritten(long blockNumber);
    void listingFinished();

    // The restore's selection from the index (RuvoBackupManagerRestore.cpp).
    RestoreSelection::Hooks restoreHooks();
    void restoreListingFinished();

    // Hand-over and launches, main thread (RuvoBackupManagerLaunch.cpp)
    ListBlockDealer::Form blockForm() const;
    void dispatchBlocks();
    bool continueBackupOrRestoreForEngine(EngineSlot &slot);
    bool launchOnNextBlock(EngineSlot &slot);
    void launchEngine(EngineSlot &slot);
    EngineSlot &slotOf(TarnixProcessLib *engine);

    // Progress (RuvoBackupManagerProgress.cpp)
    // Adds the line's report to `sent` when it is one to send.
    void reportLine(const QString &line, EngineSlot &slot, ProgressReport &report, QList<ProgressReport> &sent);

    // Errors and retries (RuvoBackupManagerErrors.cpp)
    void classifyError(const QString &text, EngineSlot &slot);
    bool handleCritialErrors(const QString &text);
    void recordError(const QString &rawText, const EngineSlot &slot);
    void parseErrorFileforEngine(EngineSlot &slot);
    void applyRetryDecision(EngineSlot &slot);
    void clearRetries();
    void retryEngine(EngineSlot &slot);

    // The end (RuvoBackupManagerFinish.cpp)
    bool sessionMustStop() const;
    void stopAll();
    void finishIfIdle();
    void cleanUpSection();
    std::pair<EndState, QString> decideEndState() const;
    void sendEndState(EndState state, const QString &message);

    SessionTimings mTimings;
    RuvoBackupRestoreHandlerProtocol *delegate_ = nullptr;
    MainControllerIndexQueue mMainControllerIndexQueue;
    BackedUpFileQueue *mBackedUpFileQueue = &mMainControllerIndexQueue;
    User mUserObject;
    ProxyController mProxyObject;
    OperationFolder mOperationFolder;
    ListBlockDealer mDealer;
    std::array<EngineSlot, 2> mEngines;
    ProgressAccounting mProgress;
    RetryPolicy mRetries;

    QString mApplicationSupportFolderPath;
    QString mQuellonExecutorPath;
    QString mBackupSourceFolder;
    QString mDestinationPath;
    QString mSessionLogFile;
    QStringList mFileFolderSetForOperation;
    QStringList mFolderSetForRelativeRestoreValue;
    QStringList mFileSetForRestoreValue;
    bool isRestore = false;
    bool mPerformRelativeOperation = true;
    bool forOB = true;
    bool mShouldBackupVersions = false;
    bool mBackupMode = true;
    bool mIsRunning = false;
    bool mMakesDestination = false;                 // a page's driver: see startBackup
    std::optional<QString> mPreviousThrottleValue;  // set while paused

    // The walk (worker thread) and what it shares with the main thread.
    std::thread mSessionThread;
    std::unique_ptr<FolderEnumerator> fileListFetcher;
    // Found paths are filtered and written this many at a time.
    static constexpr qsizetype kQueueBatch = 10000;
    std::mutex mLockforSelectedFile;  // guards mSelectedFilePaths
    QStringList mSelectedFilePaths;
    std::mutex mWorkerWaitLock;
    std::condition_variable mWorkerWake;
    std::atomic<bool> mIsBackupCancel{false};
    std::atomic<bool> mFilesEnumerationDone{false};
    std::atomic<quint64> mTotalBytes{0};
    // When the main thread handed the session's first block over (zero until then).
    std::atomic<std::chrono::steady_clock::time_point> mFirstHandOverAt{};
    std::unique_ptr<FileSizeTally> mSizeTally;  // a backup's files, measured beside the walk into mTotalBytes
    std::atomic<quint64> mFilesConsideredforOp{0};
    std::atomic<unsigned> mExcludedFilesCount{0};
    std::atomic<int> mSessionNumber{0};
    QString mSyncParentFolder;                            // sync mode: worker only
    std::unique_ptr<RestoreSelection> mRestoreSelection;  // a restore's; main thread

    // Main thread only.
    long mBackupsetCountOnTheFly = -1;
    long mBlocksLostOnHandOver = 0;
    long mFailureCount = 0;
    long mVerificationFailedCount = 0;
    int mErrorCode = 0;
    bool mRuvoQuotaExceeded = false;
    bool mNotEnoughFreeSpace = false;
    bool mAccountUnderMaintananceErrFlag = false;
    std::optional<QString> mCriticalError;
    bool mRetriesUsedUp = false;  // an engine's retries ran out: the session ends
    bool mCleanupCalledOnce = false;
    bool mEndScheduled = false;
    QString mEngineErrorStr;

    QTimer backupRestoreElapsedTimer;
    double timeElapsedSeconds = 0;
    FixedWaitLedger mFixedWaits;
};
