// The list of the daemon's session logs.

#include "monitor/sessionlogs/SessionLogList.h"

#include "support/SandboxFixture.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

class SessionLogListTest : public SandboxFixture
{
protected:
    QString folder() const { return root() + "/Sessions"; }
    void log(const QString &name) { writeText(folder() + '/' + name, "log of " + name.toUtf8()); }
};

TEST_F(SessionLogListTest, NamesWithAndWithoutSecondsNewestFirst)
{
    log("Backup 01-02-2013-10-15-30");
    log("Backup 01-03-2013-09-05");
    log(".DS_Store");
    log("notes.txt");
    log("Backup 13-45-2013-99-99");
    QDir().mkpath(folder() + "/LOGXML");
    QDir().mkpath(folder() + "/Backup 01-04-2013-09-05");  // a folder, not a log

    SessionLogList list(folder());
    list.reloadSessionLogs();
    ASSERT_EQ(list.rows().size(), 2);
    EXPECT_EQ(list.rows()[0].startTime, QDateTime(QDate(2013, 1, 3), QTime(9, 5)));
    EXPECT_EQ(list.rows()[1].startTime, QDateTime(QDate(2013, 1, 2), QTime(10, 15, 30)));
    EXPECT_EQ(list.rows()[1].description, "Backup");
    EXPECT_EQ(list.rows()[1].filePath, folder() + "/Backup 01-02-2013-10-15-30");
    EXPECT_FALSE(list.rows()[1].type);
}

TEST_F(SessionLogListTest, MissingFolderListsNothing)
{
    SessionLogList list(folder() + "/none");
    list.reloadSessionLogs();
    EXPECT_TRUE(list.rows().isEmpty());
}

TEST_F(SessionLogListTest, AFailedDeleteKeepsItsRow)
{
    log("Backup 01-01-2013-10-00");
    log("Backup 01-02-2013-10-00");
    log("Backup 01-03-2013-10-00");
    SessionLogList list(folder());
    list.reloadSessionLogs();
    // The middle log became a folder with content since the list was read: it cannot be removed as a file.
    const QString stuck = list.rows()[1].filePath;
    ASSERT_TRUE(QFile::remove(stuck));
    writeText(stuck + "/inside", "x");

    EXPECT_EQ(list.deleteRows({0, 1, 2}), 2);
    ASSERT_EQ(list.rows().size(), 1);
    EXPECT_EQ(list.rows()[0].filePath, stuck);
    EXPECT_FALSE(QFile::exists(folder() + "/Backup 01-03-2013-10-00"));
}

}  // namespace
