#include "common/logging/LogFile.h"
#include "common/logging/QLBackupProgressLogger.h"
#include "common/logging/QLLogger.h"
#include "common/texts/QLLocalizedString.h"
#include "support/FakeApplicationDelegate.h"
#include "support/SandboxFixture.h"

#include <QFile>
#include <QRegularExpression>

#include <thread>
#include <vector>

class LoggerTest : public SandboxFixture
{
protected:
    QString logPath(const char *key) const { return QLLocalizedString(QLatin1String(key)); }
};

TEST_F(LoggerTest, WriteToFileAppendsAndIgnoresEmptyTextAndRelativePaths)
{
    const QString path = root() + "/logs/new/file.txt";  // missing folders are made
    EXPECT_FALSE(LogFile::writeToFile(path, ""));
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(LogFile::writeToFile(path, "one "));
    EXPECT_TRUE(LogFile::writeToFile(path, "two"));
    EXPECT_EQ(readText(path), "one two");
    EXPECT_FALSE(LogFile::writeToFile("relative.txt", "text"));
    EXPECT_FALSE(QFile::exists("relative.txt"));
}

TEST_F(LoggerTest, ConcurrentAppendsLoseNothing)
{
    const QString path = root() + "/race.txt";
    std::vector<std::thread> writers;
    for (int t = 0; t < 4; ++t)
        writers.emplace_back([&] {
            for (int i = 0; i < 200; ++i)
                LogFile::writeToFile(path, "line\n");
        });
    for (auto &w : writers)
        w.join();
    EXPECT_EQ(readText(path).count("line\n"), 800);
}

TEST_F(LoggerTest, LineForms)
{
    const QString date = "[A-Z][a-z]{2} [A-Z][a-z]{2} \\d{1,2} \\d{4} \\d{1,2}:\\d{1,2}:\\d{1,2} (AM|PM)";
    EXPECT_TRUE(QRegularExpression("^Error : " + date + " : boom \n$").match(QLLogger::typedLine(2, "boom")).hasMatch())
        << QLLogger::typedLine(2, "boom").toStdString();

    QLLogger::logMonitorTrace("first");
    QLLogger::logMonitorTrace("second");
    const QString trace = QString::fromUtf8(readText(logPath("MonitorTraceFilePath")));
    EXPECT_TRUE(QRegularExpression("^" + date + " : first " + date + " : second $").match(trace).hasMatch())
        << trace.toStdString();

    QLBackupProgressLogger logger;
    const QString session = root() + "/session.txt";
    logger.writeSessionLog("copied a", session, true);
    EXPECT_TRUE(
        QRegularExpression("^\\[" + date + "\\] copied a \n$").match(QString::fromUtf8(readText(session))).hasMatch());
}

TEST_F(LoggerTest, BuffersWriteOutAtTheThresholdOrWhenAsked)
{
    QLBackupProgressLogger logger;
    const QString session = root() + "/session.txt";
    const qsizetype lineOverhead = ('[' + QLLogger::logDate() + "] " + " \n").size();

    logger.writeSessionLog(QString(QLBackupProgressLogger::kFlushThreshold - lineOverhead - 1, 'x'), session, false);
    EXPECT_FALSE(QFile::exists(session));               // one character short
    logger.writeSessionLog(QString(), session, false);  // a null message writes out whatever the flag says
    EXPECT_TRUE(QFile::exists(session));

    QFile::remove(session);
    logger.writeSessionLog(QString(QLBackupProgressLogger::kFlushThreshold - lineOverhead, 'x'), session, false);
    EXPECT_EQ(readText(session).size(), QLBackupProgressLogger::kFlushThreshold);  // exactly the threshold

    QFile::remove(session);
    logger.writeSessionLog(QString(), session, true);  // nothing buffered: nothing written
    EXPECT_FALSE(QFile::exists(session));
}

TEST_F(LoggerTest, NullTraceMessagesFlushOnlyTheInteractiveBuffer)
{
    QLBackupProgressLogger logger;
    logger.logInteractiveTrace("interactive", false);
    logger.logDaemonTrace("daemon", false);
    logger.logInteractiveTrace(QString(), true);
    logger.logDaemonTrace(QString(), true);
    EXPECT_TRUE(readText(logPath("InteractiveTraceFilePath")).contains("interactive"));
    EXPECT_FALSE(QFile::exists(logPath("DaemonTraceFilePath")));

    logger.logDaemonTrace("more", true);
    const QByteArray daemon = readText(logPath("DaemonTraceFilePath"));
    EXPECT_TRUE(daemon.contains("daemon") && daemon.contains("more"));
}

TEST_F(LoggerTest, BackgroundTraceMapsUserNamesWithoutRegardToCase)
{
    FakeApplicationDelegate delegate;
    delegate.mappedName = "QUser";
    delegate.actualName = "tuser";
    QLApplicationDelegate::setCurrent(&delegate);
    QLBackupProgressLogger logger;
    logger.logDaemonTrace("backup of quser done for QUSER", true);
    QLApplicationDelegate::setCurrent(nullptr);
    EXPECT_TRUE(readText(logPath("DaemonTraceFilePath")).contains("backup of tuser done for tuser"));
}

TEST_F(LoggerTest, BufferedLinesAreWrittenOutWhenTheLoggerGoes)
{
    {
        QLBackupProgressLogger logger;
        logger.logQuellonSession("kept", false);
        logger.logInteractiveTrace("kept too", false);
    }
    EXPECT_TRUE(readText(logPath("InteractiveSessionLog")).contains("Information : "));
    EXPECT_TRUE(readText(logPath("InteractiveTraceFilePath")).contains("kept too"));
}

TEST_F(LoggerTest, SessionFileNames)
{
    const struct
    {
        int code;
        QString stem;
    } cases[] = {{0, ""},
                 {13, ""},
                 {1, "Backup"},
                 {3, "Rename"},
                 {9, "Rename"},
                 {5, "Automatic_Sync"},
                 {10, "Delete_Forever"},
                 {12, "Create_Directory"}};
    for (const auto &c : cases) {
        const QString name = QLLogger::constructSessionFileNameforOperarion(c.code);
        if (c.stem.isEmpty()) {
            EXPECT_EQ(name, "") << c.code;
            continue;
        }
        EXPECT_TRUE(QRegularExpression('^' + c.stem + "\\d{2}-\\d{1,2}-\\d{4}-\\d{1,2}-\\d{1,2}-\\d{1,2}$")
                        .match(name)
                        .hasMatch())
            << name.toStdString();
    }

    const QString first = QLLogger::uniqueSessionFileName(1, root(), ".txt");
    writeText(root() + '/' + first + ".txt", "x");
    const QString second = QLLogger::uniqueSessionFileName(1, root(), ".txt");
    EXPECT_NE(first, second);
}

TEST_F(LoggerTest, LogTailKeepsTheLast20480Characters)
{
    const QString path = root() + "/tail.txt";
    writeText(path, "a" + QByteArray(QLLogger::kLogTailCharacters, 'b'));
    const QString tail = QLLogger::getUTT8StringFromFile(path);
    EXPECT_EQ(tail.size(), QLLogger::kLogTailCharacters);
    EXPECT_FALSE(tail.contains('a'));
    EXPECT_EQ(QLLogger::getUTT8StringFromFile(root() + "/missing.txt"), "");
}
