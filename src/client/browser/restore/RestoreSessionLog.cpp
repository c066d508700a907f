#include "client/browser/restore/RestoreSessionLog.h"

#include "client/common/logs/SessionLogText.h"
#include "common/logging/QLLogger.h"

namespace {

const QString kNotRestoredNotice =
    QStringLiteral("Some of the files are not transferred. For details check the 'Error:' in the log messages.");
const QString kRestoredSuccessfully = QStringLiteral("Restored successfully");

}  // namespace

RestoreSessionLog::RestoreSessionLog(QString sessionLogPath, QLBackupProgressLogger &restoreLogger,
                                     QLBackupProgressLogger &interactiveLogger)
    : mSessionLogPath(std::move(sessionLogPath))
    , mSyncDownLogger(restoreLogger)
    , mInteractiveLogger(interactiveLogger)
{}

void RestoreSessionLog::toLog(const QString &text, bool flush)
{
    mSyncDownLogger.writeSessionLog(text, mSessionLogPath, flush);
}

void RestoreSessionLog::toSummary(const QString &text, bool flush)
{
    mSyncDownLogger.writeSessionLog(text, summaryPath(), flush);
}

void RestoreSessionLog::countsToSummary(const Counts &counts)
{
    toSummary(QStringLiteral("Files considered for restore: %1").arg(counts.considered), false);
    toSummary(QStringLiteral("Files already present in the restore location: %1").arg(counts.alreadyPresent), false);
    toSummary(QStringLiteral("Files restored  now: %1").arg(counts.restoredNow));
}

void RestoreSessionLog::started(const QString &userName, const QString &startTime, const QString &destination,
                                const QStringList &contents)
{
    toLog(QStringLiteral("Restore Operation"));
    toLog(QStringLiteral("Username: %1").arg(userName), false);
    toLog(QStringLiteral("Start Time: %1").arg(startTime), false);
    toLog(QStringLiteral("Restore location: '%1'\n").arg(destination), false);
    toLog(QStringLiteral("Restore Content:\n%1\n").arg(SessionLogText::arrayDescription(contents)));
}

void RestoreSessionLog::fileDone(const QString &transferMode, const QString &fileName, const QString &fileSize)
{
    const QString line = QStringLiteral(" %1 File: %2 File size: %3").arg(transferMode, fileName, fileSize);
    mInteractiveLogger.logSyncInteractiveSession(line, false);
    toLog(line, false);
}

void RestoreSessionLog::errorsReceived(const QString &errors) { toLog(errors); }

void RestoreSessionLog::succeeded(const QString &endTime, const Counts &counts)
{
    toLog(QStringLiteral("End Time: %1\n").arg(endTime));
    QLLogger::logInteractiveTrace(QStringLiteral("Restored  successfully"));
    toLog(kRestoredSuccessfully);
    toLog(QString(50, QLatin1Char('-')) + QLatin1Char('\n'));
    mInteractiveLogger.logSyncInteractiveSession(kRestoredSuccessfully, true);
    countsToSummary(counts);
}

void RestoreSessionLog::failed(const QString &errorText, const QString &endTime, const Counts &counts)
{
    if (!errorText.isEmpty())
        toLog(errorText);
    toLog(kNotRestoredNotice);
    mInteractiveLogger.logSyncInteractiveSession(kNotRestoredNotice, true);
    countsToSummary(counts);
    toSummary(kNotRestoredNotice);
    toSummary(errorText);
    toLog(QStringLiteral("End Time: %1\n").arg(endTime));
}

void RestoreSessionLog::cancelled(const QString &endTime, const Counts &counts)
{
    toLog(QStringLiteral("Restore operation cancelled"));
    toLog(QStringLiteral("End time: %1").arg(endTime));
    countsToSummary(counts);
}

void RestoreSessionLog::overQuota(const QString &text, const QString &endTime, int considered)
{
    toSummary(text);
    toSummary(QStringLiteral("Files considered for restore: %1").arg(considered));
    toLog(QStringLiteral("End time: %1").arg(endTime));
    mEndedOverQuota = true;
}

SessionLogReport RestoreSessionLog::report(const QString &endTime, const Counts &counts) const
{
    return SessionLogReport::of(QStringLiteral("Restore"), counts.considered,
                                mEndedOverQuota ? 0 : counts.alreadyPresent, mSessionLogPath, endTime);
}
