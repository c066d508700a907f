#include "LocalTreeFixture.h"

#include "client/backup/localtree/TreeViewController.h"
#include "common/backupset/BackupSetFiles.h"

#include "platform/PropertyList.h"

#include <QFile>

class BackupSetPersistenceTest : public LocalTreeFixture
{
protected:
    // What the shell does at login: the set is loaded, then the tree is listed again.
    void logIn()
    {
        controller().loadDataFromDisk();
        controller().monitorVolumes();
        controller().refreshLocalView();
        ASSERT_TRUE(settle());
    }

    void writeSet(const QStringList &paths)
    {
        ASSERT_TRUE(BackupSetFiles::writeList(controller().pathForDataFile(), paths));
    }

    QStringList history()
    {
        controller().finishSaving();
        return BackupSetFiles(QStringLiteral("me"), true).readHistory().value_or(QStringList());
    }
};

TEST_F(BackupSetPersistenceTest, TheWholeStartupDiskLoadsAsItsDriveAndIsSavedAsRoot)
{
    writeSet({QStringLiteral("/")});
    logIn();
    EXPECT_EQ(state(tree("/")), TreeViewNode::Checked);
    EXPECT_EQ(savedSet(), QStringList{"/"});
}

TEST_F(BackupSetPersistenceTest, ASelectionOnAnAbsentDriveIsRememberedAndComesBackOnRemount)
{
    const QString photos = volumes() + "/Backup/Photos";
    writeSet({QStringLiteral("/Users/me/Documents"), photos, volumes() + "/Backup/Backups.backupdb"});
    logIn();
    EXPECT_EQ(savedSet(), QStringList{"/Users/me/Documents"});
    EXPECT_EQ(history(), QStringList{photos});
    EXPECT_EQ(state(tree("/Users/me/Documents")), TreeViewNode::Checked);

    // Loading again keeps it: nothing is lost across save and load.
    controller().loadDataFromDisk();
    EXPECT_EQ(history(), QStringList{photos});

    mount(QStringLiteral("Backup"), {QStringLiteral("Photos"), QStringLiteral("Other")});
    ASSERT_TRUE(waitFor([&] { return node(volumes() + "/Backup") != nullptr; }));
    EXPECT_EQ(state(volumes() + "/Backup"), TreeViewNode::Mixed);
    open(volumes() + "/Backup");
    EXPECT_EQ(state(photos), TreeViewNode::Checked);
    EXPECT_EQ(savedSet(), QStringList({"/Users/me/Documents", photos}));

    QDir(volumes() + "/Backup").removeRecursively();
    ASSERT_TRUE(waitFor([&] { return node(volumes() + "/Backup") == nullptr; }));
    EXPECT_EQ(savedSet(), QStringList{"/Users/me/Documents"});
    EXPECT_EQ(history(), QStringList{photos});
}

TEST_F(BackupSetPersistenceTest, ADriveCheckedAsAWholeIsCheckedAgainWhenItReturns)
{
    const QString drive = volumes() + "/Backup";
    QDir().mkpath(drive);
    logIn();
    controller().toggleCheckBoxState(node(drive));
    EXPECT_EQ(savedSet(), QStringList{drive});

    QDir(drive).removeRecursively();
    ASSERT_TRUE(waitFor([&] { return node(drive) == nullptr; }));
    EXPECT_EQ(history(), QStringList{drive});
    QDir().mkpath(drive);
    ASSERT_TRUE(waitFor([&] { return node(drive) != nullptr; }));
    EXPECT_EQ(state(drive), TreeViewNode::Checked);
    EXPECT_EQ(savedSet(), QStringList{drive});
}

TEST_F(BackupSetPersistenceTest, APathBelowAFolderNeverListedWaitsAndIsCheckedWhenListed)
{
    logIn();
    const QString report = tree("/Users/me/Documents/report.txt");
    controller().addPathForBackup(startup() + "/Users/me/Documents/report.txt");
    EXPECT_EQ(savedSet(), QStringList{"/Users/me/Documents/report.txt"});
    EXPECT_EQ(state(tree("/Users/me/Documents")), TreeViewNode::Mixed);
    EXPECT_EQ(state(tree("/Users/me")), TreeViewNode::Mixed);

    open(tree("/Users/me/Documents"));
    EXPECT_EQ(state(report), TreeViewNode::Checked);
    EXPECT_TRUE(controller().mController().mBackupSet().isEmpty());
    controller().saveDataToDisk();
    EXPECT_EQ(savedSet(), QStringList{"/Users/me/Documents"});  // its only item lifts the folder
}

TEST_F(BackupSetPersistenceTest, AnUnreadableSetFileIsLeftAsItIs)
{
    writeText(controller().pathForDataFile(), "not a list");
    controller().loadDataFromDisk();
    controller().finishSaving();
    EXPECT_EQ(readText(controller().pathForDataFile()), "not a list");
    EXPECT_TRUE(controller().mController().mBackupSet().isEmpty());
}

TEST_F(BackupSetPersistenceTest, ReadersOfTheSetFileNeverSeeAPartialWrite)
{
    logIn();
    controller().toggleCheckBoxState(node(tree("/Users/me/Music")));
    controller().finishSaving();
    QFile reader(controller().pathForDataFile());
    ASSERT_TRUE(reader.open(QIODevice::ReadOnly));

    controller().toggleCheckBoxState(node(tree("/Users/me/Pictures")));
    controller().finishSaving();
    // The open file still holds the whole old set; the new set is a new file.
    EXPECT_EQ(BackupSetFiles::readList(controller().pathForDataFile()).value(),
              QStringList({"/Users/me/Music", "/Users/me/Pictures"}));
    const auto old = PropertyList::fromData(reader.readAll());
    ASSERT_TRUE(old);
    EXPECT_EQ(old->toStringList(), QStringList{"/Users/me/Music"});
}

TEST_F(BackupSetPersistenceTest, AFirstLoginChecksTheDefaultFoldersThatExist)
{
    logIn();
    controller().toggleCheckBoxState(node(tree("/Users/me/Music")));
    controller().setDefaultBackupSetCheckStateToOne();
    ASSERT_TRUE(waitFor([&] { return savedSet().size() == 4; }));
    EXPECT_EQ(savedSet(),
              QStringList({"/Users/me/Desktop", "/Users/me/Documents", "/Users/me/Music", "/Users/me/Pictures"}));
    EXPECT_EQ(node(tree("/Users/me/Library")), nullptr);
}
