#include "client/backup/followups/TimeMachineXattrFollowUp.h"
#include "client/backup/followups/XattrBackupManager.h"
#include "common/account/User.h"
#include "support/SandboxFixture.h"

#include <QDir>

namespace {

class RecordingXattrManager : public XattrBackupManager
{
public:
    void setAccount(const User &account, const QString &executor) override
    {
        calls.append("account " + account.UserName() + " " + executor);
    }
    void storeXattributesForTimeMachine(const QString &database, const QString &output) override
    {
        calls.append("store " + database + " -> " + output);
    }
    void backupFile(const QString &output, const QString &root, const QString &relative) override
    {
        calls.append("upload " + output + " -> " + root + " as " + relative);
    }
    QStringList calls;
};

}  // namespace

class TimeMachineXattrFollowUpTest : public SandboxFixture
{
};

TEST_F(TimeMachineXattrFollowUpTest, SetPathsBecomeDatabasesWithNumberedOutputFolders)
{
    const QString drive = volumes() + "/TM";
    QDir().mkpath(drive + "/Backups.backupdb");
    const QString deep = volumes() + "/Other/Backups.backupdb/mac/2026-12-01/Macintosh HD";
    const auto databases = TimeMachineXattrFollowUp::databasesOf(
        {home() + "/Documents", drive, deep, home() + "/My Backups.backupdb.txt", volumes() + "/Empty"}, "/run");
    EXPECT_EQ(databases, (QList<TimeMachineXattrFollowUp::Database>{
                             {drive + "/Backups.backupdb", "/run/1" + drive + "/Backups.backupdb"},
                             {volumes() + "/Other/Backups.backupdb", "/run/12" + volumes() + "/Other/Backups.backupdb"}}));
}

TEST_F(TimeMachineXattrFollowUpTest, EachDatabaseIsStoredThenUploadedBesideItself)
{
    QDir().mkpath(volumes() + "/TM/Backups.backupdb");
    RecordingXattrManager manager;
    TimeMachineXattrFollowUp followUp(root() + "/TimeMachine", &manager);
    User account;
    account.setUserName("alice");
    const auto first = followUp.backupXattributes({volumes() + "/TM"}, account, "/bin/engine", "Drive/alice/Studio");
    const auto second = followUp.backupXattributes({volumes() + "/TM"}, account, "/bin/engine", "/Drive/alice/Studio");
    ASSERT_EQ(first.size(), 1);
    ASSERT_EQ(second.size(), 1);
    EXPECT_NE(first[0].outputFolder, second[0].outputFolder) << "each run has its own work folder";
    EXPECT_TRUE(QDir(first[0].outputFolder).exists());
    const QString database = volumes() + "/TM/Backups.backupdb";
    EXPECT_EQ(manager.calls.mid(0, 3),
              (QStringList{"account alice /bin/engine", "store " + database + " -> " + first[0].outputFolder,
                           "upload " + first[0].outputFolder + " -> /Drive/alice/Studio as " + database}));
}
