#include "SessionLogsFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <csignal>
#include <thread>
#include <vector>

#include <sys/resource.h>

class SessionLogXmlFileTest : public SessionLogsFixture
{};

TEST_F(SessionLogXmlFileTest, FirstRecordOfTheDayMakesThePrivateFolderAndTheFile)
{
    writer().sendSessionLogInformationWithOperation("Backup", 3, 1, "/logs/Backup/12-08-2026-14-00-00", "00:05:09");

    const QString path = dayFile("12-08-2026");
    EXPECT_EQ(writer().logXmlFilePath(), path);
    for (const QString &created : {root() + "/missing", folder().path(), folder().logXmlFolder()}) {
        const int permissions = int(QFileInfo(created).permissions());
        EXPECT_EQ(permissions & 0x0077, 0) << created.toStdString();  // nothing for group or others
        EXPECT_EQ(permissions & 0x7000, 0x7000) << created.toStdString();
    }
    EXPECT_EQ(QString::fromUtf8(readText(path)),
              "<?xml version=\"1.0\" encoding=\"utf-8\"?><records>\n<record>\n"
              "    <datetime>Dec 08, 2026 02:05:09 PM</datetime>\n"
              "    <uname>alice</uname>\n"
              "    <status>Success</status>\n"
              "    <duration>00:05:09</duration>\n"
              "    <files>3</files>\n"
              "    <filesinsync>1</filesinsync>\n"
              "    <content>Ref : Username - alice!!!Computer Name : Büro &amp; &lt;Lab&gt;!!!Success!!!"
              "Backup Start Time : 12/08/2026 02:00:00 PM!!!Backup End Time : 12/08/2026 02:05:09 PM!!!"
              "Files considered for Backup: 3!!!Files already present in your device: 1!!!</content>\n"
              "    <optype>1</optype>\n"
              "    <logfile>/logs/Backup/12-08-2026-14-00-00</logfile>\n"
              "    <logname>12-08-2026</logname>\n"
              "</record>        \n</records>");
}

TEST_F(SessionLogXmlFileTest, RecordsReadBackAsWrittenThroughAppendsAndRewrites)
{
    const QString oddUser = "Zoë & <Co> \"quoted\" 'single'";
    writer(oddUser).sendSessionLogInformationWithOperation("Restore", 10, 4, QString(), QString());
    writer().sendSessionLogInformationWithOperation("Delete", 2, 0, "/logs/Delete/ä & ü", "--:--:--");

    const QString path = dayFile("12-08-2026");
    QByteArray bytes = readText(path);
    EXPECT_EQ(bytes.count("<records>"), 1);
    EXPECT_EQ(bytes.count("</records>"), 1);
    EXPECT_TRUE(bytes.endsWith("</records>\r\n"));

    QList<LogNode> records = parsed(bytes);
    ASSERT_EQ(records.size(), 2);
    EXPECT_EQ(records[0].uname, oddUser);
    EXPECT_EQ(records[0].logfile, "No File");
    EXPECT_EQ(records[0].duration, "");  // not given: no element
    EXPECT_EQ(records[0].optype, "3");
    EXPECT_TRUE(records[0].content.startsWith("Ref : Username - " + oddUser + "!!!Computer Name : Büro & <Lab>!!!"));
    EXPECT_TRUE(records[0].content.endsWith(
        "Files considered for Restore: 10!!!Files already present in the restore location: 4!!!"));
    EXPECT_EQ(records[1].logfile, "/logs/Delete/ä & ü");
    EXPECT_EQ(records[1].optype, "5");
    EXPECT_EQ(records[1].logname, "12-08-2026");

    // The viewer's rewrite ends in "</records>" and a line feed; an append after it still reads.
    writeText(path, LogManager::getXMLfromNodes({records[1]}).toUtf8());
    writer().sendSessionLogInformationWithOperation("Archive Cleanup", 7, 0, "/logs/Archive Cleanup/x", "00:00:01");
    records = parsed(readText(path));
    ASSERT_EQ(records.size(), 2);
    EXPECT_EQ(records[0].logfile, "/logs/Delete/ä & ü");
    EXPECT_EQ(records[1].optype, "8");
}

TEST_F(SessionLogXmlFileTest, AFileWithoutItsClosingTagIsSetAsideAndTheDayStartsAgain)
{
    const QString path = dayFile("12-08-2026");
    const QByteArray torn = "<?xml version=\"1.0\" encoding=\"utf-8\"?><records>\n<record>\n    <datetime>Dec 08";
    writeText(path, torn);

    writer().sendSessionLogInformationWithOperation("Backup", 1, 0, "/logs/a", "00:00:01");
    writeText(path + ".unreadable", "an earlier one");  // a second damaged file gets a name of its own
    writeText(path, torn);
    writer().sendSessionLogInformationWithOperation("Backup", 1, 0, "/logs/b", "00:00:01");

    EXPECT_EQ(readText(path + ".unreadable-2"), torn);
    EXPECT_EQ(readText(path + ".unreadable"), "an earlier one");
    const QList<LogNode> records = parsed(readText(path));
    ASSERT_EQ(records.size(), 1);
    EXPECT_EQ(records[0].logfile, "/logs/b");
}

TEST_F(SessionLogXmlFileTest, AFileCutAfterAWholeRecordGoesOnAfterIt)
{
    writer().sendSessionLogInformationWithOperation("Backup", 1, 0, "/logs/a", "00:00:01");
    const QString path = dayFile("12-08-2026");
    QByteArray bytes = readText(path);
    bytes.chop(int(bytes.size() - bytes.lastIndexOf("</records>")));
    writeText(path, bytes + "<record>\n    <datetime>Dec 0");
    EXPECT_EQ(parsed(readText(path)).size(), 1) << "the whole record before the cut still reads";

    writer().sendSessionLogInformationWithOperation("Backup", 1, 0, "/logs/b", "00:00:01");
    const QList<LogNode> records = parsed(readText(path));
    ASSERT_EQ(records.size(), 2);
    EXPECT_EQ(records[0].logfile, "/logs/a");
    EXPECT_EQ(records[1].logfile, "/logs/b");
    EXPECT_FALSE(QFileInfo::exists(path + ".unreadable"));
}

TEST_F(SessionLogXmlFileTest, AnAppendTheDriveCannotTakeLeavesTheFileAsItWas)
{
    writer().sendSessionLogInformationWithOperation("Backup", 1, 0, "/logs/a", "00:00:01");
    const QString path = dayFile("12-08-2026");
    const QByteArray before = readText(path);
    // Room for a few bytes more than the file holds, as on a drive that fills up.
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto savedSignal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit tight = saved;
    tight.rlim_cur = rlim_t(before.size() + 40);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tight), 0);
    const bool appended = writer().sessionLogInformation({{SessionLogXmlFile::kOpType, "Backup"}});
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, savedSignal);

    EXPECT_FALSE(appended);
    EXPECT_EQ(readText(path), before);
}

TEST_F(SessionLogXmlFileTest, AppendsFromManyThreadsLoseNoRecord)
{
    const SessionLogXmlFile file = writer();
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&file] {
            SessionLogXmlFile own = file;
            for (int i = 0; i < 25; ++i)
                own.sendSessionLogInformationWithOperation("Backup", i, 0, "/logs/x", "00:00:01");
        });
    for (auto &thread : threads)
        thread.join();
    EXPECT_EQ(parsed(readText(dayFile("12-08-2026"))).size(), 100);
}

TEST_F(SessionLogXmlFileTest, EachRecordGoesToTheFileOfItsOwnDay)
{
    now = QDateTime(QDate(2026, 12, 8), QTime(23, 59, 59));
    writer().sendSessionLogInformationWithOperation("Backup", 1, 0, "/logs/late", "00:00:01");
    now = QDateTime(QDate(2026, 12, 9), QTime(0, 0, 1));
    writer().sendSessionLogInformationWithOperation("Backup", 1, 0, "/logs/early", "00:00:01");

    EXPECT_EQ(parsed(readText(dayFile("12-08-2026"))).value(0).logfile, "/logs/late");
    const LogNode early = parsed(readText(dayFile("12-09-2026"))).value(0);
    EXPECT_EQ(early.logfile, "/logs/early");
    EXPECT_EQ(early.logname, "12-09-2026");
}

TEST_F(SessionLogXmlFileTest, OperationNumbers)
{
    const QStringList names = {"Backup", "Scheduled Backup",  "Restore",         "Search",  "Delete",
                               "Rename", "Continuous Backup", "Archive Cleanup", "PutBack", "Periodic Cleanup"};
    for (int i = 0; i < names.size(); ++i)
        EXPECT_EQ(SessionLogXmlFile::operationType(names[i]), QString::number(i + 1)) << names[i].toStdString();
    EXPECT_TRUE(SessionLogXmlFile::operationType("backup").isNull());

    // An operation outside the table writes no optype element.
    writer().sessionLogInformation({{SessionLogXmlFile::kOpType, "Upload"}});
    const QByteArray bytes = readText(dayFile("12-08-2026"));
    EXPECT_FALSE(bytes.contains("<optype>"));
    EXPECT_FALSE(bytes.contains("<files>"));
    EXPECT_EQ(parsed(bytes).value(0).logfile, "No File");
}

TEST_F(SessionLogXmlFileTest, WithoutAnAbsoluteFolderNothingIsWritten)
{
    ASSERT_FALSE(QFileInfo::exists("/LOGXML"));
    for (const QString &path : {QString(), QString("relative/SessionLogs")}) {
        const SessionLogsFolder none(path);
        EXPECT_FALSE(SessionLogXmlFile(
                         none, [] { return QString("alice"); }, clock())
                         .sessionLogInformation({{SessionLogXmlFile::kOpType, "Backup"}}));
        EXPECT_TRUE(none.newSessionLogPath("Backup", now).isEmpty());
    }
    EXPECT_FALSE(QFileInfo::exists("/LOGXML"));
    EXPECT_FALSE(QFileInfo::exists("relative"));
}
