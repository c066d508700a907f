#include "session/manager/RuvoBackupManager.h"

#include "common/files/ApplicationFile.h"
#include "common/files/DirectiryCreation.h"
#include "common/files/TXSupportFileManager.h"
#include "common/logging/QLBackupProgressLogger.h"
#include "common/utility/QLUtility.h"
#include "engine/command/TarnixProcessLib.h"
#include "platform/MainThread.h"
#include "platform/PathRoots.h"
#include "session/enumeration/FileSizeTally.h"
#include "session/enumeration/FolderEnumerator.h"
#include "session/manager/RuvoBackupRestoreHandlerProtocol.h"

#include <QFileInfo>

namespace {

// A data root on a drive ("<volume>/TarnixVidezud/<user>/<computer>") is never this short.
constexpr qsizetype kShortestDestination = 13;
const QString kRunningThrottle = QStringLiteral("100");
const QString kPausedThrottle = QStringLiteral("-1");

}  // namespace

void RuvoBackupManager::trace(const QString &line, bool flush)
{
    QLBackupProgressLogger::progressLogger().logInteractiveTrace(line, flush);
}

RuvoBackupManager::RuvoBackupManager(SessionTimings timings, QObject *parent)
    : QObject(parent)
    , mTimings(timings)
    , mRetries(timings.retryDelay, timings.retryWhileOtherRetries)
{
    for (int i = 0; i < 2; ++i) {
        EngineSlot &slot = mEngines[i];
        slot.number = i + 1;
        slot.process = std::make_unique<TarnixProcessLib>(this, nullptr, mTimings.engine);
        slot.retryTimer = std::make_unique<QTimer>();
        slot.retryTimer->setSingleShot(true);
        connect(slot.retryTimer.get(), &QTimer::timeout, this, [this, i] { retryEngine(mEngines[i]); });
    }
    connect(&backupRestoreElapsedTimer, &QTimer::timeout, this, &RuvoBackupManager::updateBackupRestoreScreenTime);
}

RuvoBackupManager::~RuvoBackupManager()
{
    mIsBackupCancel = true;
    joinWorker();
    mRestoreSelection.reset();
    for (EngineSlot &slot : mEngines)
        slot.process->stopProcess();
}

SessionDriver::Factory RuvoBackupManager::factory(SessionTimings timings)
{
    return [timings](const Setup &setup, RuvoBackupRestoreHandlerProtocol &events) -> std::unique_ptr<SessionDriver> {
        auto manager = std::make_unique<RuvoBackupManager>(timings);
        manager->setDelegate(&events);
        manager->setRelativeOperation(true);
        manager->setMBackupMode(setup.backupMode);
        manager->setApplicationSupportFolder(setup.applicationSupportFolder);
        manager->setBackupSourceFolder(QStringLiteral("/"));
        manager->setDestinationPath(setup.destinationPath);
        manager->setForOB(true);
        manager->setRestore(false);
        manager->deleteTempFilePaths();
        manager->createTempFilePaths();
        manager->setCancel(false);
        // Backup Now has just found the drive; its data root may not be there yet.
        manager->mMakesDestination = true;
        return manager;
    };
}

void RuvoBackupManager::setuserInfo(const User &user)
{
    mUserObject.copyEngineFieldsFrom(user, QLUtility::portParam());
    // A storage-server account's engines go through the user's proxy settings.
    if (user.isRuvoUser())
        setProxyObjectWithSettingsFile(
            TXSupportFileManager::txFileManager().pathForApplicationFile(ApplicationFile::ProxySetting));
}

void RuvoBackupManager::setProxyObjectWithSettingsFile(const QString &path) { mProxyObject = ProxyController(path); }

void RuvoBackupManager::setDestinationPath(const QString &path)
{
    mDestinationPath = path.size() < kShortestDestination ? QString() : path;
}

// --- The operation folder and control files ---

void RuvoBackupManager::createTempFilePaths()
{
    mOperationFolder.setLocation(mApplicationSupportFolderPath, isRestore);
    mOperationFolder.create();
    setCancel(false);
    setBandwidthThrottleValue(kRunningThrottle);
}

void RuvoBackupManager::setCancel(bool cancel)
{
    OperationFolder::writePrivateText(mOperationFolder.cancelFile(),
                                      cancel ? QStringLiteral("3") : QStringLiteral("0"));
}

void RuvoBackupManager::startRSyncOperation()
{
    OperationFolder::writePrivateText(mOperationFolder.cancelFile(), QStringLiteral("1"));
}

void RuvoBackupManager::stopRSyncOperation()
{
    setCancel(true);
    if (isRestore)
        stopAll();
}

void RuvoBackupManager::setBandwidthThrottleValue(const QString &value)
{
    OperationFolder::writePrivateText(mOperationFolder.throttleFile(), value);
}

QString RuvoBackupManager::bandWidthThrottleValue() const
{
    return OperationFolder::readText(mOperationFolder.throttleFile()).value_or(QString());
}

void RuvoBackupManager::pause(bool paused)
{
    if (paused == mPreviousThrottleValue.has_value())
        return;
    if (paused) {
        const QString current = bandWidthThrottleValue();
        mPreviousThrottleValue = current.isEmpty() ? kRunningThrottle : current;
        setBandwidthThrottleValue(kPausedThrottle);
    } else {
        setBandwidthThrottleValue(*std::exchange(mPreviousThrottleValue, std::nullopt));
    }
}

void RuvoBackupManager::clearPause()
{
    if (mPreviousThrottleValue)
        setBandwidthThrottleValue(*std::exchange(mPreviousThrottleValue, std::nullopt));
    else if (bandWidthThrottleValue() == kPausedThrottle)
        setBandwidthThrottleValue(kRunningThrottle);
}

// --- Session start ---

bool RuvoBackupManager::prepareSession(bool restore)
{
    if (mIsRunning)
        return false;
    isRestore = restore;
    QString refusal;
    if (mDestinationPath.isEmpty())
        refusal = QStringLiteral("no destination folder on the backup drive.");
    else if (!QFileInfo(mApplicationSupportFolderPath).isAbsolute())
        refusal = QStringLiteral("no folder for the session's files.");
    else {
        mOperationFolder.setLocation(mApplicationSupportFolderPath, isRestore);
        if (!QFileInfo::exists(mOperationFolder.path()) && !mOperationFolder.create())
            refusal = QStringLiteral("the folder %1 cannot be made.").arg(mOperationFolder.path());
    }
    if (refusal.isEmpty()) {
        resetSession();
        return true;
    }
    trace(QStringLiteral("The session is not started: ") + refusal, true);
    notify([this, refusal](RuvoBackupRestoreHandlerProtocol &d) {
        d.operationDidFailWithError(QStringLiteral("Unable to continue the operation. Reason: ") + refusal, this);
    });
    return false;
}

void RuvoBackupManager::resetSession()
{
    joinWorker();
    mRestoreSelection.reset();
    ++mSessionNumber;
    mBackupMode = QLUtility::isAppInBackupMode(mUserObject.UserName());
    mProxyObject =
        ProxyController(TXSupportFileManager::txFileManager().pathForApplicationFile(ApplicationFile::ProxySetting));
    mIsBackupCancel = false;
    mFilesEnumerationDone = false;
    mTotalBytes = 0;
    mFilesConsideredforOp = 0;
    mExcludedFilesCount = 0;
    mFixedWaits.clear();
    mSelectedFilePaths.clear();
    mBackupsetCountOnTheFly = -1;
    mBlocksLostOnHandOver = 0;
    mFailureCount = mVerificationFailedCount = 0;
    mErrorCode = 0;
    mRuvoQuotaExceeded = mNotEnoughFreeSpace = mAccountUnderMaintananceErrFlag = false;
    mCriticalError.reset();
    mRetriesUsedUp = false;
    mCleanupCalledOnce = false;
    mEndScheduled = false;
    mEngineErrorStr.clear();
    mProgress.reset(isRestore, mBackupMode);
    mRetries.reset();
    backupRestoreElapsedTimer.stop();
    timeElapsedSeconds = 0;
    for (EngineSlot &slot : mEngines) {
        slot.blockNumber = -1;
        slot.baseFolder.clear();
        slot.launchedThisSession = slot.errorThisRun = slot.retryFlag = false;
        slot.retryTimer->stop();
        slot.listFile = slot.number == 1 ? mOperationFolder.sourceA() : mOperationFolder.sourceB();
    }
    mDealer.reset(&mOperationFolder, blockForm(), [this](long blockNumber) { blockWritten(blockNumber); });
    // A pause never outlives its session: the engines of this one start moving.
    clearPause();
    if (delegate_)
        mSessionLogFile = isRestore ? delegate_->mRestoreSessionFilePath() : delegate_->mBackupSessionFilePath();
    startRSyncOperation();
    setRunningState(true);
}

void RuvoBackupManager::startBackup()
{
    trace(QStringLiteral("In ExecuteBackup"), false);
    if (mMakesDestination && !mIsRunning && !mDestinationPath.isEmpty())
        Directiry_Creation::createDirectoryHierarchyAtPath(mDestinationPath);
    if (!prepareSession(false))
        return;
    notify([this](RuvoBackupRestoreHandlerProtocol &d) { d.operationDidStart(this); });

    fileListFetcher = std::make_unique<FolderEnumerator>(mTimings.walk);
    fileListFetcher->setDelegate(this);
    fileListFetcher->shouldEnumerateFolder(true);
    fileListFetcher->setMBackupMode(mBackupMode);
    fileListFetcher->setMIsBackupOrRestore(!mBackupMode);
    // Files are measured beside the walk, only those kept for the backup.
    fileListFetcher->setMeasuresFiles(false);
    // The walk's pauses are fixed waits like the others: the ledger counts them while no engine runs.
    fileListFetcher->setPauseListener([this](auto from, auto to) { mFixedWaits.addWait(from, to); });
    mSizeTally = std::make_unique<FileSizeTally>(mTotalBytes);
    // The walk never enters pseudo file systems, other drives, or the data it backs up into.
    fileListFetcher->setSkippedFolders(FolderEnumerator::systemFoldersToSkip()
                                       << PathRoots::volumesRoot() << mDestinationPath);
    QStringList selection;
    for (const QString &path : std::as_const(mFileFolderSetForOperation))
        if (path != mDestinationPath && !path.startsWith(mDestinationPath + u'/'))
            selection << path;
    mSessionThread = std::thread([this, selection] { ExecuteBackup(selection); });
}

void RuvoBackupManager::ExecuteBackup(const QStringList &selection)
{
    fileListFetcher->getFolderSize(selection);
    trace(QStringLiteral("Exit of ExecuteBackup"), false);
}

void RuvoBackupManager::joinWorker()
{
    if (fileListFetcher)
        fileListFetcher->stopEnumeration();
    mWorkerWake.notify_all();
    if (mSessionThread.joinable())
        mSessionThread.join();
    mSizeTally.reset();
}

void RuvoBackupManager::waitOnWorker(std::chrono::milliseconds wait)
{
    std::unique_lock lock(mWorkerWaitLock);
    mWorkerWake.wait_for(lock, wait, [this] { return mIsBackupCancel.load(); });
}

void RuvoBackupManager::countFixedWait(std::chrono::milliseconds wait)
{
    const auto now = std::chrono::steady_clock::now();
    mFixedWaits.addWait(now, now + wait);
}

void RuvoBackupManager::postToSession(std::function<void()> work)
{
    const int session = mSessionNumber;
    MainThread::runInThreadOf(this, [this, session, work = std::move(work)] {
        if (session == mSessionNumber)
            work();
    });
}

void RuvoBackupManager::notify(std::function<void(RuvoBackupRestoreHandlerProtocol &)> call)
{
    MainThread::runInThreadOf(this, [this, call = std::move(call)] {
        if (delegate_)
            call(*delegate_);
    });
}

// --- The elapsed-time clock ---

void RuvoBackupManager::startElapsedClock()
{
    timeElapsedSeconds = 0;
    backupRestoreElapsedTimer.start(mTimings.elapsedTick);
}

void RuvoBackupManager::updateBackupRestoreScreenTime()
{
    timeElapsedSeconds += std::chrono::duration<double>(mTimings.elapsedTick).count();
    const long seconds = long(timeElapsedSeconds);
    const QString text =
        QLUtility::timeDisplayFormatHour(int(seconds / 3600), int(seconds % 3600 / 60), int(seconds % 60));
    notify([text](RuvoBackupRestoreHandlerProtocol &d) { d.operationElapsedTimeString(text); });
    if (!mIsRunning)
        backupRestoreElapsedTimer.stop();
}

long RuvoBackupManager::succesFileCount() const
{
    return std::max(0L, mProgress.successCount() - mVerificationFailedCount);
}
