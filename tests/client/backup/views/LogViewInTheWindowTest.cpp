#include "LoggedInClientFixture.h"

#include "desktop/logs/LogManager.h"
#include "desktop/logs/SessionLogsFolder.h"
#include "desktop/logs/views/LogViewController.h"

#include <QDate>

// The Log page of the window lists each session once, however often it is reloaded.
class LogViewInTheWindowTest : public LoggedInClientFixture
{};

TEST_F(LogViewInTheWindowTest, ReloadsInARowListEachSessionOnce)
{
    openLoggedIn();
    const QString today = SessionLogsFolder::dayKey(QDate::currentDate());
    QList<LogNode> records;
    for (const char *name : {"first", "second"}) {
        LogNode record;
        record.logname = today;
        record.logfile = root() + "/" + QString(name) + ".log";
        record.status = "Success";
        records.append(record);
    }
    writeText(SessionLogsFolder::fromApplicationFiles().dayFilePath(today),
              LogManager::getXMLfromNodes(records).toUtf8());

    LogViewController &logs = *client->logTab.logs;
    logs.reloadLogViewOnTableViewSelectionChange();
    logs.reloadLogViewOnTableViewSelectionChange();
    ASSERT_TRUE(waitUntil([&] { return logs.records().size() >= 2; }));
    waitUntil([] { return false; }, 300);  // a stale delivery would land meanwhile
    EXPECT_EQ(logs.records().size(), 2);
}
