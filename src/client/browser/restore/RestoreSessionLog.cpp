#include "client/browser/restore/RestoreSessionLog.h"

#include "client/common/logs/SessionLogText.h"
#include "common/logging/OnlineLogController.h"
#include "common/logging/QLLogger.h"

namespace {

const QString kNotRestoredNotice =
    QStringLiteral("Some of the files are not transferred. For details check the 'Error:' in the log messages.");
const QString kRestoredSuccessfully = QStringLiteral("Restored successfully");

}  // namespace

RestoreSessionLog::RestoreSessionLog(QString sessionLogPath, QLBackupProgressLogger &restoreLogger, Page page,
                                     QLBackupProgressLogger &interactiveLogger)
    : mSessionLogPath(std::move(sessionLogPath))
    , mPage(page)
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

void RestoreSessionLog::countsToSummary(const Counts &counts, bool flushEach, const QString &restoredNowLabel)
{
    toSummary(QStringLiteral("Files considered for restore: %1").arg(counts.considered), flushEach);
    toSummary(QStringLiteral("Files already present in the restore location: %1").arg(counts.alreadyPresent),
              flushEach);
    toSummary(QStringLiteral("%1: %2").arg(restoredNowLabel).arg(counts.restoredNow));
}

void RestoreSessionLog::started(const QString &userName, const QString &startTime, const QString &destination,
                                const QStringList &contents)
{
    const bool fromSearch = mPage == Page::Search;
    toLog(QStringLiteral("Restore Operation"));
    toLog(QStringLiteral("Username: %1").arg(userName), fromSearch);
    toLog(QStringLiteral("Start Time: %1").arg(startTime), false);
    toLog((fromSearch ? QStringLiteral("Restore location: %1\n") : QStringLiteral("Restore location: '%1'\n"))
              .arg(destination),
          false);
    toLog((fromSearch ? QStringLiteral("Restore Content: \n%1\n") : QStringLiteral("Restore Content:\n%1\n"))
              .arg(SessionLogText::arrayDescription(contents)));
}

void RestoreSessionLog::fileDone(const QString &transferMode, const QString &fileName, const QString &fileSize)
{
    const QString line = QStringLiteral(" %1 File: %2 File size: %3").arg(transferMode, fileName, fileSize);
    mInteractiveLogger.logSyncInteractiveSession(line, false);
    toLog(line, false);
    OnlineLogController::SharedOnlineLogController().AppendOperationMessage(line);
}

void RestoreSessionLog::errorsReceived(const QString &errors)
{
    toLog(errors);
    OnlineLogController::SharedOnlineLogController().AppendOperationMessage(errors);
}

void RestoreSessionLog::succeeded(const QString &endTime, const Counts &counts)
{
    const QString rule = QString(50, QLatin1Char('-')) + QLatin1Char('\n');
    if (mPage == Page::Search) {
        toLog(QStringLiteral("End time: %1\n").arg(endTime));
        OnlineLogController::SharedOnlineLogController().AppendOperationMessage(
            kRestoredSuccessfully + QStringLiteral(",\n") + rule +
            QStringLiteral("Files considered for restore :%1\nFiles already present in the restore location :%2\n"
                           "Files restored  now :%3")
                .arg(counts.considered)
                .arg(counts.alreadyPresent)
                .arg(counts.restoredNow));
        toLog(kRestoredSuccessfully + QStringLiteral(",\n") + rule);
        countsToSummary(counts, true);
        return;
    }
    toLog(QStringLiteral("End Time: %1\n").arg(endTime));
    QLLogger::logInteractiveTrace(QStringLiteral("Restored  successfully"));
    toLog(kRestoredSuccessfully);
    toLog(rule);
    mInteractiveLogger.logSyncInteractiveSession(kRestoredSuccessfully, true);
    countsToSummary(counts);
}

void RestoreSessionLog::failed(const QString &errorText, const QString &endTime, const Counts &counts)
{
    if (mPage == Page::Search) {
        if (!errorText.isEmpty()) {
            toLog(errorText);
            toSummary(errorText);
        }
        toLog(kNotRestoredNotice);
        toSummary(kNotRestoredNotice);
        countsToSummary(counts, true, QStringLiteral("Files restored now"));
        toLog(QStringLiteral("End Time: %1").arg(endTime));
        return;
    }
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
    if (mPage == Page::Search) {
        toLog(QStringLiteral("End Time: %1").arg(endTime));
        return;
    }
    toLog(QStringLiteral("Restore operation cancelled"));
    toLog(QStringLiteral("End time: %1").arg(endTime));
    countsToSummary(counts);
}

void RestoreSessionLog::overQuota(const QString &text, const QString &endTime, int considered)
{
    mEndedOverQuota = true;
    toSummary(text);
    if (mPage == Page::Restore)
        toSummary(QStringLiteral("Files considered for restore: %1").arg(considered));
    toLog(QStringLiteral("End %1: %2")
              .arg(mPage == Page::Search ? QStringLiteral("Time") : QStringLiteral("time"), endTime));
}

SessionLogReport RestoreSessionLog::report(const QString &endTime, const Counts &counts) const
{
    return SessionLogReport::of(QStringLiteral("Restore"), counts.considered,
                                mEndedOverQuota ? 0 : counts.alreadyPresent, mSessionLogPath, endTime);
}
