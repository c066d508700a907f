#include "client/backup/logs/ArchiveCleanupSessionLog.h"
#include "client/backup/logs/BackupSessionLog.h"
#include "common/logging/OnlineLogController.h"
#include "common/texts/QLLocalizedString.h"
#include "desktop/logs/SessionLogsFolder.h"
#include "platform/PathStandardizer.h"
#include "support/SandboxFixture.h"

#include <QFile>
#include <QFileInfo>

#include <functional>

namespace {

// Every line is dated by the loggers' fixed clock.
QString line(const QString &text) { return "[Tue Dec 8 2026 2:5:9 PM] " + text + " \n"; }

QString lines(const QStringList &texts)
{
    QString all;
    for (const QString &text : texts)
        all += line(text);
    return all;
}

const QString kStart = "12/08/2026 02:00:00 PM";
const QString kEnd = "12/08/2026 02:05:09 PM";
const QString kNotice = "Some of the files are not transferred. For details check the 'Error:' in the log messages.\n";
const QString kSeparator = QString(50, '-') + '\n';
const QStringList kCounts = {"Files considered for backup: 3", "Files already present in your device: 1",
                             "Files backed up now: 2"};

class SessionLogFilesTest : public SandboxFixture
{
protected:
    void SetUp() override
    {
        SandboxFixture::SetUp();
        OnlineLogController::SharedOnlineLogController().setOperationStartTime(kStart);
    }

    QString text(const QString &path) const { return QString::fromUtf8(readText(path)); }
    QString interactiveSessionLog() const
    {
        return text(PathStandardizer::standardizePath(QLLocalizedString("SyncInteractiveSessionLog")));
    }

    SessionLogsFolder folder{root() + "/a/b/SessionLogs"};
    const QDateTime now{QDate(2026, 12, 8), QTime(14, 5, 9)};
    QLBackupProgressLogger sessionLogger{[this] { return now; }};
    QLBackupProgressLogger interactiveLogger{[this] { return now; }};
};

TEST_F(SessionLogFilesTest, SessionLogsAreNamedByTheirStartInPrivateOperationFolders)
{
    const QString path = folder.newSessionLogPath("Archive Cleanup", now);
    EXPECT_EQ(path, root() + "/a/b/SessionLogs/Archive Cleanup/12-08-2026-14-05-09");
    EXPECT_TRUE(QFileInfo(QFileInfo(path).path()).isDir());
    EXPECT_EQ(QFileInfo(folder.path()).permissions() & (QFileDevice::ReadOther | QFileDevice::ReadGroup), 0);
}

TEST_F(SessionLogFilesTest, BackupLogAndSummaryForEachEnd)
{
    const QString started = lines({"Username: alice", "Start Time: " + kStart, "Backup location: 'BackupDrive'\n",
                                   "Backup set content:\n(\n    \"/home/alice/Documents\",\n"
                                   "    \"/home/alice/say \\\"hi\\\"\"\n)\n",
                                   " Full File: /home/alice/Documents/a.txt File size: 12 B"});
    const BackupSessionLog::Counts counts{3, 1, 2};
    const struct
    {
        const char *end;
        std::function<void(BackupSessionLog &)> finish;
        QString sessionLog;
        QString summary;  // null: no summary file
    } cases[] = {
        {"success", [&](BackupSessionLog &log) { log.finishedSuccessfully(kEnd, counts, false, 0); },
         lines({"End Time: " + kEnd + "\n", "Backed up successfully", kSeparator}), lines(kCounts)},
        {"success with exclusions", [&](BackupSessionLog &log) { log.finishedSuccessfully(kEnd, counts, true, 4); },
         lines({"End Time: " + kEnd + "\n", kSeparator}),
         lines(QStringList{"Some of the files/folders selected for backup may have been excluded from the operation. "
                           "Click here to view excluded files/ folders.\n",
                           "Files excluded from backup: 4"} +
               kCounts)},
        {"failure",
         [&](BackupSessionLog &log) {
             log.failed("Error: disk gone", 2, counts);
             log.failedSessionEnded(kEnd);
         },
         lines({"", "Error: disk gone", kNotice, "End Time: " + kEnd + "\n"}),
         lines(kCounts + QStringList{kNotice, "Error: disk gone"})},
        {"failure with nothing to tell",
         [&](BackupSessionLog &log) {
             log.failed("x", 0, counts);
             log.failedSessionEnded(kEnd);
         },
         lines({"", "End Time: " + kEnd + "\n"}), QString()},
        {"cancel", [&](BackupSessionLog &log) { log.cancelled(kEnd, counts); },
         lines({"Backup operation cancelled", "End Time: " + kEnd}), lines(kCounts)},
        {"over quota", [&](BackupSessionLog &log) { log.overQuota(kEnd); },
         lines({"You have utilized the allocated storage space. For further backups, upgrade your account.",
                "Backup operation failed with over quota", "End Time: " + kEnd}),
         line("Backup operation failed with over quota")},
    };
    for (const auto &test : cases) {
        const QString path = folder.newSessionLogPath("Backup", now) + "-" + test.end;
        BackupSessionLog log(path, sessionLogger, interactiveLogger);
        log.operationDidStart("alice", kStart, "BackupDrive", {"/home/alice/Documents", "/home/alice/say \"hi\""});
        log.fileDone("Full", "/home/alice/Documents/a.txt", "12 B");
        test.finish(log);
        EXPECT_EQ(text(path), started + test.sessionLog) << test.end;
        EXPECT_EQ(QFile::exists(log.summaryPath()), !test.summary.isNull()) << test.end;
        EXPECT_EQ(text(log.summaryPath()), test.summary) << test.end;

        const SessionLogReport report = log.report(kEnd, counts);
        EXPECT_EQ(report.operation, "Backup");
        EXPECT_EQ(report.sessionLogFilePath, path);
        EXPECT_EQ(report.duration, "00:05:09");
        EXPECT_EQ(report.syncFileCount, test.end == QLatin1String("over quota") ? 0 : 1) << test.end;
    }
}

TEST_F(SessionLogFilesTest, ASessionWithoutFilesSummarisesJustTheThreeCounts)
{
    BackupSessionLog log(folder.newSessionLogPath("Backup", now), sessionLogger, interactiveLogger);
    log.operationDidStart("alice", kStart, "BackupDrive", {});
    log.finishedSuccessfully(kEnd, {}, false, 0);
    EXPECT_EQ(text(log.summaryPath()), lines({"Files considered for backup: 0",
                                              "Files already present in your device: 0", "Files backed up now: 0"}));
    EXPECT_TRUE(text(log.sessionLogPath()).contains(line("Backup set content:\n(\n)\n")));
}

TEST_F(SessionLogFilesTest, FailureTellsTheInteractiveSessionLogToo)
{
    BackupSessionLog log(folder.newSessionLogPath("Backup", now), sessionLogger, interactiveLogger);
    log.fileDone("Full", "/a", "1 B");
    log.failed("Error: boom", 1, {});
    const QString interactive = interactiveSessionLog();
    const qsizetype file = interactive.indexOf(" Full File: /a File size: 1 B");
    const qsizetype error = interactive.indexOf("Error: boom");
    const qsizetype notice = interactive.indexOf(kNotice);
    EXPECT_GE(file, 0);
    EXPECT_GT(error, file);
    EXPECT_GT(notice, error);
    EXPECT_GT(interactive.indexOf("Error: boom", notice), notice);  // told once more after the notice
}

TEST_F(SessionLogFilesTest, ArchiveCleanupLogForEachEnd)
{
    const QString confirmed = lines({"Username: alice\n", "Start Time: " + kStart + "\n", "Deleted file: Vol/old.txt",
                                     "Failed deleting file: permission denied"});
    const struct
    {
        const char *end;
        std::function<void(ArchiveCleanupSessionLog &)> finish;
        QString sessionLog;
    } cases[] = {
        {"success", [](ArchiveCleanupSessionLog &log) { log.succeeded(kEnd); },
         lines({"End Time: " + kEnd, "Deleted successfully", kSeparator})},
        {"failure", [](ArchiveCleanupSessionLog &log) { log.failed("engine died", kEnd); },
         lines({"Delete operation failed with error: engine died", "End Time: " + kEnd})},
        {"failure without a text", [](ArchiveCleanupSessionLog &log) { log.failed("", kEnd); }, QString()},
        {"cancel", [](ArchiveCleanupSessionLog &log) { log.cancelled(kEnd); }, line("End Time: " + kEnd)},
    };
    for (const auto &test : cases) {
        const QString path = folder.newSessionLogPath("Archive Cleanup", now) + "-" + test.end;
        ArchiveCleanupSessionLog log(path, sessionLogger, interactiveLogger);
        log.confirmed("alice", kStart);
        log.itemDeleted("/Vol/old.txt");
        log.itemFailed("");
        log.itemFailed("permission denied");
        test.finish(log);
        EXPECT_EQ(text(path), confirmed + test.sessionLog) << test.end;

        const SessionLogReport report = log.report(kEnd, 5);
        EXPECT_EQ(report.operation, "Archive Cleanup");
        EXPECT_EQ(report.totalFileCount, 5);
        EXPECT_EQ(report.syncFileCount, 0);
        EXPECT_EQ(report.duration, "00:05:09");
    }
}

}  // namespace
