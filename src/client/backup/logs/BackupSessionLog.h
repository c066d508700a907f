#pragma once

#include "client/common/logs/SessionLogReport.h"
#include "common/logging/QLBackupProgressLogger.h"

#include <QString>
#include <QStringList>

// The session log file of one backup started from the Backup tab, and the
// ".summary" of counts beside it that the log viewer shows. Each member writes
// the lines of one event, in their order; the two files share the view's one
// logger buffer, so every group of lines is flushed to its file before a line
// for the other file is written.
class BackupSessionLog
{
public:
    // The session's counts, as the summary states them.
    struct Counts
    {
        int considered = 0;      // files considered for the backup
        int alreadyPresent = 0;  // already on the drive, unchanged
        int backedUpNow = 0;
    };

    // sessionLogger is the view's own logger; the per-file lines and the outcome
    // also go to the interactive session log of the shared one.
    BackupSessionLog(QString sessionLogPath, QLBackupProgressLogger &sessionLogger,
                     QLBackupProgressLogger &interactiveLogger = QLBackupProgressLogger::progressLogger());

    QString sessionLogPath() const { return mSessionLogPath; }
    QString summaryPath() const { return mSessionLogPath + QStringLiteral(".summary"); }

    // Times are session-log times ("LL/dd/yyyy hh:mm:ss a").
    void operationDidStart(const QString &userName, const QString &startTime, const QString &volumeName,
                           const QStringList &backupSet);
    void fileDone(const QString &transferMode, const QString &fileName, const QString &fileSize);
    void errorsReceived(const QString &errors);

    void finishedSuccessfully(const QString &endTime, const Counts &counts, bool isExcludedFromBackupSet,
                              int excludedFilesCount);
    // A failure: what went wrong, when there is something to tell (failed files,
    // or an error text longer than one character). failedSessionEnded closes the
    // log after the view's own end-of-session steps.
    void failed(const QString &errorText, int failureFileCount, const Counts &counts);
    void failedSessionEnded(const QString &endTime);
    void cancelled(const QString &endTime, const Counts &counts);
    void overQuota(const QString &endTime);

    // The report of the backup for the day file; after an over-quota end it
    // counts no file as already present.
    SessionLogReport report(const QString &endTime, const Counts &counts) const;

private:
    void toLog(const QString &text, bool flush = true);
    void toSummary(const QString &text, bool flush = true);
    void countsToSummary(const Counts &counts);

    const QString mSessionLogPath;
    QLBackupProgressLogger &mSyncUpLogger;
    QLBackupProgressLogger &mInteractiveLogger;
    bool mEndedOverQuota = false;
};
