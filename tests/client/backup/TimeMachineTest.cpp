#include "LocalTreeFixture.h"

#include "common/backupset/TimeMachineReferenceList.h"
#include "platform/DistributedNotificationCenter.h"

#include <QTest>

class TimeMachineTest : public LocalTreeFixture
{
protected:
    void SetUp() override
    {
        LocalTreeFixture::SetUp();
        QDir().mkpath(startup() + "/Backups.backupdb");
        QDir().mkpath(volumes() + "/Drive/Backups.backupdb");
        QDir().mkpath(volumes() + "/Drive/Other");
        QObject::connect(&mCenter, &DistributedNotificationCenter::notificationReceived, &mCenter,
                         [this](const QString &name) { mPosted.append(name); });
        ASSERT_TRUE(settle());
        open(volumes() + "/Drive");
    }

    QStringList list() { return TimeMachineReferenceList(listPath()).paths(); }
    QString listPath() { return BackupSetFiles(QStringLiteral("me"), true).timeMachineListPath(); }
    int changesPosted() { return mPosted.count(QStringLiteral("TarnixPortableMonitorTimeMachineFileBackup")); }

    DistributedNotificationCenter mCenter;
    QStringList mPosted;
};

TEST_F(TimeMachineTest, CheckingADatabaseFolderListsItsStoredPathAndUncheckingRemovesExactlyThatOne)
{
    const QString startupDatabase = tree("/Backups.backupdb");
    const QString driveDatabase = volumes() + "/Drive/Backups.backupdb";
    controller().toggleCheckBoxState(node(startupDatabase));
    controller().toggleCheckBoxState(node(driveDatabase));
    EXPECT_EQ(list(), QStringList({"/Backups.backupdb", driveDatabase}));
    ASSERT_TRUE(waitFor([&] { return changesPosted() == 2; }));

    // The drive's database path ends like the start-up disk's entry: only its own entry goes.
    controller().toggleCheckBoxState(node(driveDatabase));
    EXPECT_EQ(list(), QStringList{"/Backups.backupdb"});
    controller().handleTimeMachinePath(QStringLiteral("/Backups.backupdb"));
    EXPECT_EQ(list(), QStringList());
    ASSERT_TRUE(waitFor([&] { return changesPosted() == 4; }));

    controller().toggleCheckBoxState(node(tree("/opt")));  // not a database: the list is left alone
    EXPECT_EQ(list(), QStringList());
}

TEST_F(TimeMachineTest, TheMonitorSelectsAndDeselectsDatabases)
{
    mCenter.postNotificationName(QStringLiteral("TarnixPortableTimeMachineFileBackup"), QStringLiteral("add"),
                                 {{"add", "/Backups.backupdb"}});
    ASSERT_TRUE(waitFor([&] { return state(tree("/Backups.backupdb")) == TreeViewNode::Checked; }));
    EXPECT_EQ(savedSet(), QStringList{"/Backups.backupdb"});

    mCenter.postNotificationName(QStringLiteral("TarnixPortableTimeMachineFileBackup"), QStringLiteral("Remove"),
                                 {{"Remove", "/Backups.backupdb"}});
    ASSERT_TRUE(waitFor([&] { return state(tree("/Backups.backupdb")) == TreeViewNode::Unchecked; }));
    EXPECT_EQ(savedSet(), QStringList());
}

TEST_F(TimeMachineTest, RemovingEverythingEmptiesAListThatHasEntries)
{
    ASSERT_TRUE(TimeMachineReferenceList(listPath()).add(QStringLiteral("/Backups.backupdb")));
    controller().handleTimeMachine();
    EXPECT_TRUE(TimeMachineReferenceList(listPath()).exists());
    EXPECT_EQ(list(), QStringList());
    ASSERT_TRUE(waitFor([&] { return changesPosted() == 1; }));
    controller().handleTimeMachine();  // nothing left to empty: nothing is posted
    QTest::qWait(50);
    EXPECT_EQ(changesPosted(), 1);
}
