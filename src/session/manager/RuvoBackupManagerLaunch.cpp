// Handing list blocks to the two engines and launching them, on the main thread.

#include "session/manager/RuvoBackupManager.h"

#include "common/account/SyncDetailsKeys.h"
#include "common/categories/RemoveTrailingCharacter.h"
#include "common/logging/QLBackupProgressLogger.h"
#include "common/utility/QLUtility.h"
#include "engine/command/EngineStartFailure.h"
#include "engine/command/TarnixProcessLib.h"
#include "session/vectors/SessionEngineVectors.h"

#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>

ListBlockDealer::Form RuvoBackupManager::blockForm() const
{
    if (isRestore)
        return ListBlockDealer::Form::Restore;
    return mBackupMode ? ListBlockDealer::Form::Backup : ListBlockDealer::Form::Sync;
}

RuvoBackupManager::EngineSlot &RuvoBackupManager::slotOf(TarnixProcessLib *engine)
{
    return engine == mEngines[1].process.get() ? mEngines[1] : mEngines[0];
}

// Every idle engine gets the next written block, in number order.
void RuvoBackupManager::dispatchBlocks()
{
    if (!mIsRunning || sessionMustStop())
        return;
    for (EngineSlot &slot : mEngines)
        if (!slot.busy() && !slot.retryFlag && !launchOnNextBlock(slot))
            return;
}

bool RuvoBackupManager::launchOnNextBlock(EngineSlot &slot)
{
    if (!continueBackupOrRestoreForEngine(slot))
        return false;
    launchEngine(slot);
    return true;
}

bool RuvoBackupManager::continueBackupOrRestoreForEngine(EngineSlot &slot)
{
    while (mBackupsetCountOnTheFly + 1 < mDealer.blocksWritten()) {
        const long next = ++mBackupsetCountOnTheFly;
        const std::optional<QString> baseFolder =
            ListBlockDealer::setSourceFileContents(mOperationFolder.blockPath(next), slot.listFile, blockForm());
        if (!baseFolder) {
            // A block that cannot be read is not run; the end state says files are missing.
            ++mBlocksLostOnHandOver;
            continue;
        }
        slot.blockNumber = next;
        slot.baseFolder = *baseFolder;
        mProgress.blockHandedOver(slot.index());
        return true;
    }
    return false;
}

void RuvoBackupManager::launchEngine(EngineSlot &slot)
{
    TarnixProcessLib &engine = *slot.process;
    const bool firstLaunch = !slot.launchedThisSession;
    const bool syncAccount = !mBackupMode;
    const QVariantMap syncDetails = syncAccount ? QLUtility::syncUserDetails(mUserObject.UserName()) : QVariantMap();

    SessionEngineVectors::Inputs in;
    in.mode = isRestore ? SessionEngineVectors::Mode::Restore
                        : (mBackupMode ? SessionEngineVectors::Mode::Backup : SessionEngineVectors::Mode::Sync);
    in.firstLaunch = firstLaunch;
    in.executable = mQuellonExecutorPath;
    in.outputFile = mOperationFolder.outputFile(slot.blockNumber);
    in.errorFile = mOperationFolder.errorFile(slot.blockNumber);
    in.bandwidthFile = mOperationFolder.throttleFile();
    in.proxyArgument = mProxyObject.proxyArgument();
    in.portArgument = mUserObject.Port();
    in.encodedKey = mUserObject.mEncodedKey();
    in.password = syncAccount ? syncDetails.value(SyncDetailsKeys::kSyncEncodedPassword).toString()
                              : mUserObject.mEncodedPassword();
    in.cancelFile = mOperationFolder.cancelFile();
    in.tempFolder = mOperationFolder.path();
    in.listFile = slot.listFile;
    in.dataRoot = mDestinationPath;
    in.remoteUser =
        (syncAccount ? QLUtility::getSyncUserName(mUserObject.UserName()) : mUserObject.UserName()).toLower();
    in.remoteServer =
        syncAccount ? syncDetails.value(SyncDetailsKeys::kRuvoServerIP).toString() : mUserObject.RuvoServerIP();
    in.baseFolder = slot.baseFolder;
    in.backupSourceFolder = mBackupSourceFolder;
    in.relativeOperation = mPerformRelativeOperation;
    in.keepVersions = mShouldBackupVersions;

    // A relaunch (next block or retry) first drops the previous run's error output.
    QFile::remove(in.errorFile);
    engine.setOutDataText(in.outputFile);
    engine.setErrorDataText(in.errorFile);
    if (in.mode == SessionEngineVectors::Mode::Sync)
        engine.setMParentFoldePath(removeTrailingCharacter::removeTrailingCharacter(slot.baseFolder));
    mProgress.engineLaunched(slot.index(), firstLaunch);
    if (slot.number == 2 && firstLaunch) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("SHELL"), QStringLiteral("/bin/sh"));
        engine.setEnvironment(environment);
    } else if (slot.number == 1) {
        engine.setEnvironment(QProcessEnvironment());
    }

    EngineArguments vector = SessionEngineVectors::build(in);
    // A vector that lacks a value, or an engine that is not there, will not get
    // better by retrying: the session ends on it at once.
    QString refusal = EngineStartFailure::refusal(vector);
    if (refusal.isEmpty() && !QFileInfo(in.executable).isExecutable())
        refusal = EngineStartFailure::launchFailure(in.executable, QStringLiteral("not an executable file"));
    if (!refusal.isEmpty()) {
        mCriticalError = refusal;
        stopAll();
        finishIfIdle();
        return;
    }
    QLBackupProgressLogger::progressLogger().logInteractiveTrace(
        (firstLaunch ? QStringLiteral("In RuvofireBackupProcessForEngine ")
                     : QStringLiteral("In processloadsharing ")) +
            SessionEngineVectors::loggedCopy(vector.arguments).join(u' '),
        true);
    engine.setArguments(std::move(vector));
    slot.launchedThisSession = true;
    slot.awaitingFinish = true;
    slot.errorThisRun = false;
    slot.failuresThisRun = 0;
    slot.stopRequested = false;
    mFixedWaits.engineStarted(slot.number - 1, std::chrono::steady_clock::now());
    engine.startProcess();
    if (!backupRestoreElapsedTimer.isActive())
        startElapsedClock();
}
