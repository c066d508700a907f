#include "client/backup/logs/ArchiveCleanupSessionLog.h"

ArchiveCleanupSessionLog::ArchiveCleanupSessionLog(QString sessionLogPath, QLBackupProgressLogger &deleteLogger,
                                                   QLBackupProgressLogger &interactiveLogger)
    : mSessionLogPath(std::move(sessionLogPath))
    , mSyncDeleteLogger(deleteLogger)
    , mInteractiveLogger(interactiveLogger)
{}

void ArchiveCleanupSessionLog::toLog(const QString &text, bool flush)
{
    mSyncDeleteLogger.writeSessionLog(text, mSessionLogPath, flush);
}

void ArchiveCleanupSessionLog::confirmed(const QString &userName, const QString &startTime)
{
    toLog(QStringLiteral("Username: %1\n").arg(userName));
    toLog(QStringLiteral("Start Time: %1\n").arg(startTime));
}

void ArchiveCleanupSessionLog::itemDeleted(const QString &path)
{
    const QString line = QStringLiteral("Deleted file: %1").arg(path.mid(1));
    toLog(line, false);
    mInteractiveLogger.logSyncInteractiveSession(line, false);
}

void ArchiveCleanupSessionLog::itemFailed(const QString &errorText)
{
    if (!errorText.isEmpty())
        toLog(QStringLiteral("Failed deleting file: %1").arg(errorText));
}

void ArchiveCleanupSessionLog::succeeded(const QString &endTime)
{
    toLog(QStringLiteral("End Time: %1").arg(endTime));
    toLog(QStringLiteral("Deleted successfully"));
    toLog(QString(50, '-') + '\n');
    mInteractiveLogger.logInteractiveTrace(QStringLiteral("Deleted successfully"), true);
}

void ArchiveCleanupSessionLog::failed(const QString &errorText, const QString &endTime)
{
    if (errorText.isEmpty())
        return;
    const QString line = QStringLiteral("Delete operation failed with error: %1").arg(errorText);
    toLog(line);
    mInteractiveLogger.logSyncInteractiveSession(line, true);
    toLog(QStringLiteral("End Time: %1").arg(endTime));
}

void ArchiveCleanupSessionLog::cancelled(const QString &endTime) { toLog(QStringLiteral("End Time: %1").arg(endTime)); }

SessionLogReport ArchiveCleanupSessionLog::report(const QString &endTime, int listedItemCount) const
{
    return SessionLogReport::of(QStringLiteral("Archive Cleanup"), listedItemCount, 0, mSessionLogPath, endTime);
}
