#pragma once

#include "client/common/logs/SessionLogReport.h"
#include "common/logging/QLBackupProgressLogger.h"

#include <QString>
#include <QStringList>

// The session log of one restore and the ".summary" beside it. Each member
// writes the lines of one event in their order, through the restore's own
// logger; the per-file lines also go to the shared interactive session log.
// The page the restore was started from words a few lines its own way.
class RestoreSessionLog
{
public:
    enum class Page
    {
        // The outcome also goes to the interactive session log and trace.
        Restore,
        // Shorter ends: a cancel or an over-quota end writes only its end time.
        Search
    };

    struct Counts
    {
        int considered = 0;      // files considered for the restore
        int alreadyPresent = 0;  // already in the restore location
        int restoredNow = 0;
    };

    RestoreSessionLog(QString sessionLogPath, QLBackupProgressLogger &restoreLogger, Page page = Page::Restore,
                      QLBackupProgressLogger &interactiveLogger = QLBackupProgressLogger::progressLogger());

    QString sessionLogPath() const { return mSessionLogPath; }
    QString summaryPath() const { return mSessionLogPath + QStringLiteral(".summary"); }

    // Times are session-log times ("LL/dd/yyyy hh:mm:ss a").
    void started(const QString &userName, const QString &startTime, const QString &destination,
                 const QStringList &contents);
    void fileDone(const QString &transferMode, const QString &fileName, const QString &fileSize);
    void errorsReceived(const QString &errors);

    void succeeded(const QString &endTime, const Counts &counts);
    void failed(const QString &errorText, const QString &endTime, const Counts &counts);
    void cancelled(const QString &endTime, const Counts &counts);
    void overQuota(const QString &text, const QString &endTime, int considered);

    // The day file's record: "Restore", the files considered and those already
    // present (none after an over-quota end).
    SessionLogReport report(const QString &endTime, const Counts &counts) const;

private:
    void toLog(const QString &text, bool flush = true);
    void toSummary(const QString &text, bool flush = true);
    // "restoredNowLabel": the failure of a search restore spells it with one blank.
    void countsToSummary(const Counts &counts, bool flushEach = false,
                         const QString &restoredNowLabel = QStringLiteral("Files restored  now"));

    const QString mSessionLogPath;
    const Page mPage;
    QLBackupProgressLogger &mSyncDownLogger;
    QLBackupProgressLogger &mInteractiveLogger;
    bool mEndedOverQuota = false;
};
