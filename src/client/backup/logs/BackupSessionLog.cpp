#include "client/backup/logs/BackupSessionLog.h"

#include "client/common/logs/SessionLogText.h"

namespace {

const QString kNotTransferredNotice =
    QStringLiteral("Some of the files are not transferred. For details check the 'Error:' in the log messages.\n");
const QString kSeparator = QString(50, '-') + '\n';
const QString kOverQuota = QStringLiteral("Backup operation failed with over quota");

}  // namespace

BackupSessionLog::BackupSessionLog(QString sessionLogPath, QLBackupProgressLogger &sessionLogger,
                                   QLBackupProgressLogger &interactiveLogger)
    : mSessionLogPath(std::move(sessionLogPath))
    , mSyncUpLogger(sessionLogger)
    , mInteractiveLogger(interactiveLogger)
{}

void BackupSessionLog::toLog(const QString &text, bool flush)
{
    mSyncUpLogger.writeSessionLog(text, mSessionLogPath, flush);
}

void BackupSessionLog::toSummary(const QString &text, bool flush)
{
    mSyncUpLogger.writeSessionLog(text, summaryPath(), flush);
}

void BackupSessionLog::countsToSummary(const Counts &counts)
{
    toSummary(QStringLiteral("Files considered for backup: %1").arg(counts.considered), false);
    toSummary(QStringLiteral("Files already present in your device: %1").arg(counts.alreadyPresent), false);
    toSummary(QStringLiteral("Files backed up now: %1").arg(counts.backedUpNow));
}

void BackupSessionLog::operationDidStart(const QString &userName, const QString &startTime, const QString &volumeName,
                                         const QStringList &backupSet)
{
    toLog(QStringLiteral("Username: %1").arg(userName));
    toLog(QStringLiteral("Start Time: %1").arg(startTime), false);
    toLog(QStringLiteral("Backup location: '%1'\n").arg(volumeName), false);
    toLog(QStringLiteral("Backup set content:\n%1\n").arg(SessionLogText::arrayDescription(backupSet)));
}

void BackupSessionLog::fileDone(const QString &transferMode, const QString &fileName, const QString &fileSize)
{
    const QString line = QStringLiteral(" %1 File: %2 File size: %3").arg(transferMode, fileName, fileSize);
    toLog(line, false);
    mInteractiveLogger.logSyncInteractiveSession(line, false);
}

void BackupSessionLog::errorsReceived(const QString &errors) { toLog(errors); }

void BackupSessionLog::finishedSuccessfully(const QString &endTime, const Counts &counts, bool isExcludedFromBackupSet,
                                            int excludedFilesCount)
{
    toLog(QStringLiteral("End Time: %1\n").arg(endTime));
    if (isExcludedFromBackupSet) {
        toSummary(QStringLiteral("Some of the files/folders selected for backup may have been excluded from the "
                                 "operation. Click here to view excluded files/ folders.\n"));
        if (excludedFilesCount != 0)
            toSummary(QStringLiteral("Files excluded from backup: %1").arg(excludedFilesCount));
    } else {
        toLog(QStringLiteral("Backed up successfully"), false);
    }
    toLog(kSeparator);
    mInteractiveLogger.logSyncInteractiveSession(QStringLiteral("Backed up successfully"), true);
    countsToSummary(counts);
}

void BackupSessionLog::failed(const QString &errorText, int failureFileCount, const Counts &counts)
{
    toLog(QStringLiteral(""));  // a line that holds only the date
    if (failureFileCount == 0 && errorText.size() <= 1)
        return;
    toLog(errorText);
    mInteractiveLogger.logSyncInteractiveSession(errorText, true);
    toLog(kNotTransferredNotice);
    mInteractiveLogger.logSyncInteractiveSession(kNotTransferredNotice, true);
    mInteractiveLogger.logSyncInteractiveSession(errorText, true);
    countsToSummary(counts);
    toSummary(kNotTransferredNotice);
    toSummary(errorText);
}

void BackupSessionLog::failedSessionEnded(const QString &endTime)
{
    toLog(QStringLiteral("End Time: %1\n").arg(endTime));
}

void BackupSessionLog::cancelled(const QString &endTime, const Counts &counts)
{
    toLog(QStringLiteral("Backup operation cancelled"));
    toLog(QStringLiteral("End Time: %1").arg(endTime));
    countsToSummary(counts);
}

void BackupSessionLog::overQuota(const QString &endTime)
{
    // The key text as it stands, not its translation.
    toLog(QStringLiteral("You have utilized the allocated storage space. For further backups, upgrade your account."));
    toLog(kOverQuota);
    toSummary(kOverQuota);
    toLog(QStringLiteral("End Time: %1").arg(endTime));
    mEndedOverQuota = true;
}

SessionLogReport BackupSessionLog::report(const QString &endTime, const Counts &counts) const
{
    return SessionLogReport::of(QStringLiteral("Backup"), counts.considered,
                                mEndedOverQuota ? 0 : counts.alreadyPresent, mSessionLogPath, endTime);
}
