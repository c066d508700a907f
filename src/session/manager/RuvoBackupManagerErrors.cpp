// The engines' error text: what it means for the session, and the retries.

#include "session/manager/RuvoBackupManager.h"

#include "common/logging/QLBackupProgressLogger.h"
#include "engine/command/TarnixProcessLib.h"
#include "session/errors/EngineErrorPhrases.h"
#include "session/manager/RuvoBackupRestoreHandlerProtocol.h"
#include "session/operation/OperationFolder.h"

#include <QFile>

using namespace EngineErrorPhrases;

namespace {

QLBackupProgressLogger &logger() { return QLBackupProgressLogger::progressLogger(); }

QString trimmedOfBreaks(const QString &text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && (text.at(start) == u'\n' || text.at(start) == u'\r'))
        ++start;
    while (end > start && (text.at(end - 1) == u'\n' || text.at(end - 1) == u'\r'))
        --end;
    return text.mid(start, end - start);
}

}  // namespace

void RuvoBackupManager::getError(const QString &text, TarnixProcessLib *engine)
{
    if (!mIsRunning)
        return;
    EngineSlot &slot = slotOf(engine);
    slot.errorThisRun = true;
    logger().logInteractiveTrace(text, false);
    if (isRestore || shouldDisplayErrorInLogDetails(text))
        logger().writeSessionLog(text, sessionLogFile(), true);
    classifyError(text, slot);
}

void RuvoBackupManager::classifyError(const QString &rawText, EngineSlot &slot)
{
    // What the text means is read from its reasons, never from the names of the files it lists.
    const QString raw = withoutFileNames(rawText);
    const QString error = trimmedOfBreaks(raw);
    const int status = slot.process->terminationStatus();
    if (raw.contains(kEncryptionVerification)) {
        ++mFailureCount;
        ++slot.failuresThisRun;
        return;
    }
    if (containsAny(raw, quotaWords())) {
        mRuvoQuotaExceeded = true;
        stopAll();
        return;
    }
    if (raw.contains(kNoFreeSpace)) {
        mNotEnoughFreeSpace = true;
        stopAll();
        return;
    }
    if (mIsBackupCancel || error.isEmpty() || handleCritialErrors(error))
        return;
    if (error.contains(kMaintenance)) {
        mAccountUnderMaintananceErrFlag = true;
        return;
    }
    const QString focus = focusOf(error);
    const ParseOutcome outcome = ParseERROR(focus, mErrorCode);
    mFailureCount += outcome.failedFiles;
    slot.failuresThisRun += outcome.failedFiles;
    if (outcome.errorCode != NoErrorCode)
        mErrorCode = outcome.errorCode;
    mAccountUnderMaintananceErrFlag = mAccountUnderMaintananceErrFlag || outcome.underMaintenance;
    if (!outcome.recognised) {
        if ((status == 0 && !containsAny(focus, networkWords())) || containsAny(focus, fileWords())) {
            ++mFailureCount;
            ++slot.failuresThisRun;
        } else {
            // Network trouble, or an engine that stopped with a status and no file to blame: try the block again.
            notify([this](RuvoBackupRestoreHandlerProtocol &d) { d.makeScriptCallForObject(this); });
            if (!focus.isEmpty() && !mAccountUnderMaintananceErrFlag && !focus.contains(kVerificationUpdate)) {
                slot.retryFlag = true;
                logger().logInteractiveTrace(
                    QStringLiteral("Engine %1 encountered an error  - (%2) ")
                        .arg(slot.number == 1 ? QStringLiteral("one") : QStringLiteral("two"), rawText),
                    slot.number == 1);
            }
        }
    }
    recordError(rawText, slot);
}

void RuvoBackupManager::recordError(const QString &rawText, const EngineSlot &slot)
{
    mEngineErrorStr += rawText;
    const QString line = QStringLiteral("Mac: Engine %1 encountered an error  - (%2) \n")
                             .arg(slot.number == 1 ? QStringLiteral("one") : QStringLiteral("two"), rawText);
    logger().logInteractiveTrace(line, false);
}

bool RuvoBackupManager::handleCritialErrors(const QString &text)
{
    if (!containsAny(text, criticalWords()))
        return false;
    if (mCriticalError)
        return true;
    // The account or the drive cannot go on: both engines stop, and this is the session's one end state.
    if (const int code = criticalErrorCode(text))
        mErrorCode = code;
    mCriticalError = text;
    stopAll();
    return true;
}

// The engine's error file is normally gone by now (its wrapper reads it to the
// end and removes it); one left behind is read here.
void RuvoBackupManager::parseErrorFileforEngine(EngineSlot &slot)
{
    const QString path = mOperationFolder.errorFile(slot.blockNumber);
    const std::optional<QString> text = OperationFolder::readText(path);
    QFile::remove(path);
    if (text && !text->isEmpty())
        classifyError(*text, slot);
}

void RuvoBackupManager::applyRetryDecision(EngineSlot &slot)
{
    const RetryPolicy::Decision decision = mRetries.decide(slot.index());
    if (decision.kind == RetryPolicy::Decision::None)
        return;
    if (decision.kind == RetryPolicy::Decision::EndSession) {
        mRetriesUsedUp = true;
        stopAll();
        finishIfIdle();
        return;
    }
    logger().logInteractiveTrace(QStringLiteral("Retrying block -- %1").arg(slot.number), false);
    countFixedWait(decision.delay);
    slot.retryTimer->start(decision.delay);
}

void RuvoBackupManager::clearRetries()
{
    mRetries.reset();
    for (EngineSlot &slot : mEngines) {
        slot.retryFlag = false;
        slot.retryTimer->stop();
    }
}

void RuvoBackupManager::retryEngine(EngineSlot &slot)
{
    if (!mIsRunning || sessionMustStop()) {
        finishIfIdle();
        return;
    }
    slot.retryFlag = false;
    notify([this](RuvoBackupRestoreHandlerProtocol &d) { d.operationStartedRetrying(this); });
    launchEngine(slot);
}
