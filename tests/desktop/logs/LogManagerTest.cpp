#include "SessionLogsFixture.h"

#include "common/context/ProgramContext.h"
#include "common/texts/TextTable.h"

#include <QDir>
#include <QFile>
#include <QTimeZone>

class LogManagerTest : public SessionLogsFixture
{
protected:
    void SetUp() override
    {
        SessionLogsFixture::SetUp();
        manager = std::make_unique<LogManager>(&receiver, folder(), clock());
        receiver.manager = manager.get();
    }

    // A day file of records whose logfile names the given paths.
    void writeDay(const QString &key, const QStringList &logfiles)
    {
        QList<LogNode> records;
        for (const QString &logfile : logfiles) {
            LogNode node;
            node.logfile = logfile;
            node.logname = key;
            node.optype = key.endsWith("_cdp") ? "7" : "1";
            records.append(node);
        }
        writeText(dayFile(key), LogManager::getXMLfromNodes(records).toUtf8());
    }

    QStringList deliveredLogfiles(qsizetype index) const
    {
        QStringList logfiles;
        for (const LogNode &node : receiver.deliveries.value(index).value_or(QList<LogNode>()))
            logfiles.append(node.logfile);
        return logfiles;
    }

    RecordingReceiver receiver;
    std::unique_ptr<LogManager> manager;
};

TEST_F(LogManagerTest, PastDaysComeFromTheCacheTodayAlwaysFromDisk)
{
    writeDay("12-07-2026", {"past"});
    writeDay("12-08-2026", {"today"});
    manager->parseXmlFile("12-07-2026");
    manager->parseXmlFile("12-08-2026");
    receiver.waitFor(2);

    writeDay("12-07-2026", {"past", "changed"});
    writeDay("12-08-2026", {"today", "new"});
    manager->parseXmlFile("12-07-2026");
    manager->parseXmlFile("12-08-2026");
    receiver.waitFor(4);

    ASSERT_EQ(receiver.deliveries.size(), 4);
    EXPECT_EQ(deliveredLogfiles(2), QStringList{"past"});  // cached, at once
    EXPECT_EQ(deliveredLogfiles(3), (QStringList{"today", "new"}));
}

TEST_F(LogManagerTest, ContinuousProtectionFileComesFirstAndIsReadOnce)
{
    writeDay("12-01-2026_cdp", {"cdp one"});
    writeDay("12-01-2026", {"plain one"});
    writeDay("12-03-2026_cdp", {"cdp three"});
    writeDay("12-02-2026", {"plain two"});
    writeText(dayFile("12-02-2026") + ".unreadable", "set aside");

    manager->fetchAllLogs();
    receiver.waitFor(4);

    ASSERT_EQ(receiver.deliveries.size(), 4);
    EXPECT_EQ(deliveredLogfiles(0), QStringList{"cdp one"});
    EXPECT_EQ(deliveredLogfiles(1), QStringList{"plain one"});
    EXPECT_EQ(deliveredLogfiles(2), QStringList{"plain two"});
    EXPECT_EQ(deliveredLogfiles(3), QStringList{"cdp three"});
}

TEST_F(LogManagerTest, ABrokenDayDeliversNothingAndIsNotCachedWhileOthersShow)
{
    writeText(dayFile("12-01-2026"), "<records><record><uname>a & b</uname></record></records>");
    writeDay("12-02-2026", {"fine"});
    manager->fetchAllLogs();
    receiver.waitFor(2);

    ASSERT_EQ(receiver.deliveries.size(), 2);
    EXPECT_FALSE(receiver.deliveries[0].has_value());
    EXPECT_EQ(deliveredLogfiles(1), QStringList{"fine"});
    EXPECT_EQ(manager->mLogData().keys(), QStringList{"12-02-2026"});
}

TEST_F(LogManagerTest, AFetchReplacesTheOneBeforeItSoNoRecordShowsTwice)
{
    writeDay("12-01-2026", {"a", "b"});
    writeDay("12-02-2026", {"c"});
    manager->fetchAllLogs();
    manager->fetchAllLogs();  // before any delivery of the first
    receiver.waitFor(2);      // and every stale delivery would have come by then
    ASSERT_EQ(receiver.deliveries.size(), 2);
    EXPECT_EQ(deliveredLogfiles(0), (QStringList{"a", "b"}));
    EXPECT_EQ(deliveredLogfiles(1), QStringList{"c"});
}

TEST_F(LogManagerTest, DaysAreSteppedByTheCalendarAcrossDaylightSavingChanges)
{
    const QTimeZone berlin("Europe/Berlin");
    ASSERT_TRUE(berlin.isValid());
    const struct
    {
        QDateTime start, end;
        QStringList days;
    } cases[] = {
        // Autumn: a day of 25 hours; steps of 86,400 s would show the 25th twice.
        {QDateTime(QDate(2026, 10, 24), QTime(0, 0), berlin),
         QDateTime(QDate(2026, 10, 27), QTime(12, 0), berlin),
         {"10-24-2026", "10-25-2026", "10-26-2026", "10-27-2026"}},
        // Spring: a day of 23 hours; from late evening, such steps would skip the 29th.
        {QDateTime(QDate(2026, 3, 28), QTime(23, 30), berlin),
         QDateTime(QDate(2026, 3, 30), QTime(12, 0), berlin),
         {"03-28-2026", "03-29-2026"}},
    };
    for (const auto &test : cases) {
        QDir(folder().logXmlFolder()).removeRecursively();
        for (QDate day = test.start.date().addDays(-1); day <= test.end.date().addDays(1); day = day.addDays(1))
            writeDay(SessionLogsFolder::dayKey(day), {SessionLogsFolder::dayKey(day)});
        receiver.deliveries.clear();
        manager->fetchLogsFrom(test.start, test.end);
        receiver.waitFor(test.days.size());
        QStringList days;
        for (qsizetype i = 0; i < receiver.deliveries.size(); ++i)
            days += deliveredLogfiles(i);
        EXPECT_EQ(days, test.days);
    }
}

TEST_F(LogManagerTest, DeletingRecordsRewritesTheDayAndRemovesItsLastFile)
{
    const QString backupLogs = folder().subfolder("Backup");
    const QString first = backupLogs + "/12-07-2026-10-00-00";
    const QString second = backupLogs + "/12-07-2026-11-00-00";
    for (const QString &log : {first, first + ".summary", second})
        writeText(log, "log");
    writeDay("12-07-2026", {first, second});
    manager->parseXmlFile("12-07-2026");
    receiver.waitFor(1);
    const QList<LogNode> day = receiver.deliveries.value(0).value();

    // A record written by another program since the day was cached stays.
    LogNode appended;
    appended.logfile = "appended";
    appended.optype = "1";
    appended.logname = "12-07-2026";
    writeText(dayFile("12-07-2026"), LogManager::getXMLfromNodes({day[0], day[1], appended}).toUtf8());

    manager->deleteNode(day[0], "12-07-2026");
    EXPECT_FALSE(QFile::exists(first));
    EXPECT_FALSE(QFile::exists(first + ".summary"));
    EXPECT_TRUE(QFile::exists(second));
    const QByteArray rewritten = readText(dayFile("12-07-2026"));
    EXPECT_EQ(parsed(rewritten), (QList<LogNode>{day[1], appended}));
    EXPECT_TRUE(rewritten.contains("\t<lpath></lpath>\n"));  // every element present
    EXPECT_EQ(manager->mLogData().value("12-07-2026"), QList<LogNode>{day[1]});

    writeText(dayFile("12-07-2026"), LogManager::getXMLfromNodes({day[1]}).toUtf8());
    manager->deleteNode(day[1], "12-07-2026");
    EXPECT_FALSE(QFile::exists(dayFile("12-07-2026")));
    EXPECT_FALSE(manager->mLogData().contains("12-07-2026"));
}

TEST_F(LogManagerTest, DeletingNeverTouchesFilesOutsideTheSessionLogFolder)
{
    const QString outside = root() + "/outside/important.txt";
    writeText(outside, "keep");
    writeText(outside + ".summary", "keep");
    QDir().mkpath(folder().subfolder("Backup"));
    QFile::link(root() + "/outside", folder().subfolder("Backup") + "/linked");
    writeDay("12-07-2026", {outside, folder().subfolder("Backup") + "/linked/important.txt",
                            folder().path() + "/../../../outside/important.txt"});
    // A record from outside whose logname climbs out of the folder.
    writeText(root() + "/01-01-2026.xml", "keep");
    writeDay("12-06-2026", {"x"});
    writeText(dayFile("12-06-2026"), readText(dayFile("12-06-2026")).replace("12-06-2026", "../../../../01-01-2026"));

    manager->parseXmlFile("12-07-2026");
    manager->parseXmlFile("12-06-2026");
    receiver.waitFor(2);
    ASSERT_TRUE(manager->mLogData().contains("../../../../01-01-2026"));
    for (const auto &day : receiver.deliveries)
        for (const LogNode &node : day.value())
            manager->deleteNode(node, node.logname);

    EXPECT_EQ(readText(outside), "keep");
    EXPECT_EQ(readText(outside + ".summary"), "keep");
    EXPECT_EQ(readText(root() + "/01-01-2026.xml"), "keep");
}

TEST_F(LogManagerTest, WriterAndViewerShareTheBrandsFolder)
{
    for (const char *brand : {"Tarnix", "Quellon"}) {
        qputenv("TX_BRAND", brand);
        ProgramContext::current().texts().reload();
        const SessionLogsFolder brandFolder = SessionLogsFolder::fromApplicationFiles();
        EXPECT_TRUE(brandFolder.path().contains(QString(brand) + "Videzud")) << brandFolder.path().toStdString();
        SessionLogXmlFile(
            brandFolder, [] { return QString("bob"); }, clock())
            .sendSessionLogInformationWithOperation("Backup", 1, 0, brand, "00:00:01");

        RecordingReceiver viewer;
        LogManager reader(&viewer, brandFolder, clock());
        viewer.manager = &reader;
        reader.parseXmlFile("12-08-2026");
        viewer.waitFor(1);
        ASSERT_EQ(viewer.deliveries.size(), 1);
        EXPECT_EQ(viewer.deliveries[0].value().value(0).logfile, brand);
    }
}
