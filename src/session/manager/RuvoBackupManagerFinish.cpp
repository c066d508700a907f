// The end of an engine run and of the session: the next block, a retry, or the one end state.

#include "session/manager/RuvoBackupManager.h"

#include "common/logging/QLBackupProgressLogger.h"
#include "engine/command/TarnixProcessLib.h"
#include "session/enumeration/FolderEnumerator.h"
#include "session/errors/EngineErrorPhrases.h"
#include "session/manager/RuvoBackupRestoreHandlerProtocol.h"

#include <QTimer>

using namespace EngineErrorPhrases;

namespace {

const QString kConnectionFailure = QStringLiteral(
    "Unable to continue the operation. Reason: Connection Failed. Unable to connect to the server. Try later");
const QString kMaintenanceFailure = QStringLiteral("Account is under maintenance");
const QString kNoFreeSpaceFailure = QStringLiteral("Not enough free space on device");
const QString kQuotaFailure = QStringLiteral("Quota Exceeded");
const QString kLostFilesFailure =
    QStringLiteral("Unable to continue the operation. Reason: the file list could not be written.");

}  // namespace

void RuvoBackupManager::processFinishedOfEngine(TarnixProcessLib *engine)
{
    EngineSlot &slot = slotOf(engine);
    slot.awaitingFinish = false;
    mFixedWaits.engineFinished(slot.number - 1, std::chrono::steady_clock::now(),
                               mTimings.engine.finishGrace + mTimings.engine.finishNotice);
    if (!mIsRunning)
        return;
    if (!sessionMustStop())
        parseErrorFileforEngine(slot);
    // An engine that ended with a status but named no file and no trouble is
    // taken for a broken connection, never for a finished block.
    const int status = engine->terminationStatus();
    if (status != 0 && !slot.stopRequested && !slot.retryFlag && slot.failuresThisRun == 0 && !sessionMustStop())
        classifyError(QStringLiteral("txruvo error: the engine stopped with status %1\n").arg(status), slot);
    if (sessionMustStop()) {
        stopAll();
        finishIfIdle();
        return;
    }
    if (slot.retryFlag && mRetries.mayRetry(slot.index())) {
        applyRetryDecision(slot);
        if (slot.busy())
            return;
    }
    if (!slot.retryFlag && launchOnNextBlock(slot))
        return;
    finishIfIdle();
}

bool RuvoBackupManager::sessionMustStop() const
{
    return mIsBackupCancel || mAccountUnderMaintananceErrFlag || mRuvoQuotaExceeded || mNotEnoughFreeSpace ||
           mCriticalError.has_value() || mRetriesUsedUp || mEndScheduled;
}

// Stops both engines and the listing: the session is over.
void RuvoBackupManager::stopAll()
{
    if (fileListFetcher)
        fileListFetcher->stopEnumeration();
    mWorkerWake.notify_all();
    for (int i = 1; i >= 0; --i) {
        EngineSlot &slot = mEngines[i];
        slot.retryTimer->stop();
        if (slot.process->isRunning()) {
            slot.stopRequested = true;
            slot.process->stopProcess();
        }
    }
}

// The session ends once listing is over and no engine runs or waits for a retry.
void RuvoBackupManager::finishIfIdle()
{
    if (!mIsRunning || mCleanupCalledOnce || !mFilesEnumerationDone)
        return;
    for (const EngineSlot &slot : mEngines)
        if (slot.busy())
            return;
    if (!sessionMustStop() && mBackupsetCountOnTheFly + 1 < mDealer.blocksWritten())
        return;
    trace(QStringLiteral("Entered running condition..."));
    if (isRestore || mRetries.bothUsedUp()) {
        mEndScheduled = true;
        countFixedWait(mTimings.endWait);
        QTimer::singleShot(mTimings.endWait, this, [this] { cleanUpSection(); });
        return;
    }
    cleanUpSection();
}

void RuvoBackupManager::cleanUpSection()
{
    if (mCleanupCalledOnce) {
        trace(QStringLiteral("cleanUpSection---- already Called"));
        return;
    }
    mCleanupCalledOnce = true;
    const SessionErrors errors = parseError(mEngineErrorStr);
    mFailureCount += errors.failedFiles;
    mVerificationFailedCount += errors.verificationFailures;
    if (errors.errorCode != NoErrorCode)
        mErrorCode = errors.errorCode;
    mAccountUnderMaintananceErrFlag = mAccountUnderMaintananceErrFlag || errors.underMaintenance;
    for (auto it = errors.fileErrors.cbegin(); it != errors.fileErrors.cend(); ++it) {
        const QString message = QStringLiteral("Error: %1 %2").arg(it.key(), it.value());
        const QString file = it.key();
        notify([this, message, file](RuvoBackupRestoreHandlerProtocol &d) {
            d.operationDidReceiveErrors(message, file, this);
        });
    }
    const auto [state, message] = decideEndState();
    clearRetries();
    setRunningState(false);
    backupRestoreElapsedTimer.stop();
    sendEndState(state, message);
}

std::pair<RuvoBackupManager::EndState, QString> RuvoBackupManager::decideEndState() const
{
    const bool retriesUsedUp = mRetriesUsedUp || mRetries.anyUsedUp();
    const bool filesMissing = mDealer.blocksLost() > 0 || mBlocksLostOnHandOver > 0;
    if (mCriticalError)
        return {EndState::Failure, *mCriticalError};
    if (isRestore) {
        if (mAccountUnderMaintananceErrFlag)
            return {EndState::Failure, kMaintenanceFailure};
        if (retriesUsedUp)
            return {EndState::Failure, kConnectionFailure};
        if (mIsBackupCancel)
            return {EndState::Cancel, {}};
        if (mNotEnoughFreeSpace)
            return {EndState::Failure, kNoFreeSpaceFailure};
        if (mRuvoQuotaExceeded)
            return {EndState::Failure, kQuotaFailure};
        if (mRestoreSelection && mRestoreSelection->failure())
            return {EndState::Failure, *mRestoreSelection->failure()};
    } else {
        if (retriesUsedUp)
            return {EndState::Failure, kConnectionFailure};
        if (mIsBackupCancel)
            return {EndState::Cancel, {}};
        if (mRuvoQuotaExceeded)
            return {EndState::OverQuota, kQuotaFailure};
        if (mAccountUnderMaintananceErrFlag)
            return {EndState::Failure, kMaintenanceFailure};
        if (mNotEnoughFreeSpace)
            return {EndState::Failure, kNoFreeSpaceFailure};
    }
    if (filesMissing)
        return {EndState::Failure, kLostFilesFailure};
    if (mFailureCount != 0)
        return {EndState::Failure, QString("")};
    // A restore succeeds only when every file it listed was run.
    const long restored = mProgress.successCount() + mProgress.incSuccessCount();
    if (isRestore && quint64(restored) < mFilesConsideredforOp)
        return {EndState::Failure, QStringLiteral("Unable to continue the operation. Reason: %1 of %2 files were "
                                                  "restored.")
                                       .arg(restored)
                                       .arg(quint64(mFilesConsideredforOp))};
    return {EndState::Success, {}};
}

void RuvoBackupManager::sendEndState(EndState state, const QString &message)
{
    clearPause();
    switch (state) {
    case EndState::Success:
        trace(QStringLiteral("Successfully operationDidFinishSuccessfully"));
        notify([this](RuvoBackupRestoreHandlerProtocol &d) { d.operationDidFinishSuccessfully(this); });
        break;
    case EndState::Failure:
        trace(QStringLiteral("Session failed: ") + message);
        notify([this, message](RuvoBackupRestoreHandlerProtocol &d) { d.operationDidFailWithError(message, this); });
        break;
    case EndState::OverQuota:
        notify([message](RuvoBackupRestoreHandlerProtocol &d) { d.operationDidFailWithOverQuota(message); });
        break;
    case EndState::Cancel:
        notify([this](RuvoBackupRestoreHandlerProtocol &d) { d.operationDidCancel(this); });
        break;
    }
}

void RuvoBackupManager::CancelBackupProcess()
{
    trace(QStringLiteral("Start of CancelBackupProcess:  "));
    if (!mIsRunning)
        return;
    mIsBackupCancel = true;
    clearPause();
    stopRSyncOperation();
    if (fileListFetcher)
        fileListFetcher->stopEnumeration();
    if (mRestoreSelection)
        mRestoreSelection->cancel();
    mWorkerWake.notify_all();
    // A cancel is never taken for a connection failure at the end.
    clearRetries();
    stopAll();
    finishIfIdle();
}
