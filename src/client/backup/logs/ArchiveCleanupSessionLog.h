#pragma once

#include "client/common/logs/SessionLogReport.h"
#include "common/logging/QLBackupProgressLogger.h"

#include <QString>

// The session log file of one archive cleanup: who started it and when, each
// item deleted or not, and how it ended. Every line but the per-item ones is
// flushed at once. A cleanup has no summary file.
class ArchiveCleanupSessionLog
{
public:
    // deleteLogger is the view's own logger; the deleted items and a failure also
    // go to the interactive session log, the success to the interactive trace,
    // of the shared one.
    ArchiveCleanupSessionLog(QString sessionLogPath, QLBackupProgressLogger &deleteLogger,
                             QLBackupProgressLogger &interactiveLogger = QLBackupProgressLogger::progressLogger());

    QString sessionLogPath() const { return mSessionLogPath; }

    // Times are session-log times ("LL/dd/yyyy hh:mm:ss a").
    void confirmed(const QString &userName, const QString &startTime);
    // The item's path as the cleanup lists it; the log shows it less its first character.
    void itemDeleted(const QString &path);
    // Nothing is written for an empty error text.
    void itemFailed(const QString &errorText);

    void succeeded(const QString &endTime);
    // Nothing is written for an empty error text.
    void failed(const QString &errorText, const QString &endTime);
    void cancelled(const QString &endTime);

    // The report of the cleanup for the day file: the number of listed items, none already present.
    SessionLogReport report(const QString &endTime, int listedItemCount) const;

private:
    void toLog(const QString &text, bool flush = true);

    const QString mSessionLogPath;
    QLBackupProgressLogger &mSyncDeleteLogger;
    QLBackupProgressLogger &mInteractiveLogger;
};
