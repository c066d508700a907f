#include "client/backup/followups/TimeMachineXattrFollowUp.h"
#include "client/backup/followups/SharedXattrBackupManager.h"
#include "common/account/User.h"
#include "common/texts/QLLocalizedString.h"
#include "platform/PropertyList.h"
#include "platform/TXXattrWrapper.h"
#include "session/xattr/TXXattrBackupManager.h"
#include "support/SandboxFixture.h"

#include <QDir>
#include <QFileInfo>

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
    bool isUploading() const override { return uploading; }
    QStringList calls;
    bool uploading = true;
};

class TimeMachineXattrFollowUpTest : public SandboxFixture
{};

TEST_F(TimeMachineXattrFollowUpTest, SetPathsBecomeDatabasesWithNumberedOutputFolders)
{
    const QString drive = volumes() + "/TM";
    QDir().mkpath(drive + "/Backups.backupdb");
    const QString deep = volumes() + "/Other/Backups.backupdb/mac/2026-12-01/Macintosh HD";
    const auto databases = TimeMachineXattrFollowUp::databasesOf(
        {home() + "/Documents", drive, deep, home() + "/My Backups.backupdb.txt", volumes() + "/Empty"}, "/run");
    EXPECT_EQ(databases,
              (QList<TimeMachineXattrFollowUp::Database>{
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
    EXPECT_TRUE(QDir(first[0].outputFolder).exists()) << "an upload may still read it";
    manager.uploading = false;
    const auto third = followUp.backupXattributes({volumes() + "/TM"}, account, "/bin/engine", "/Drive/alice/Studio");
    EXPECT_EQ(QDir(root() + "/TimeMachine").entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 1)
        << "earlier runs' folders go once no upload reads them";
    EXPECT_TRUE(QDir(third[0].outputFolder).exists());
    const QString database = volumes() + "/TM/Backups.backupdb";
    EXPECT_EQ(manager.calls.mid(0, 3),
              (QStringList{"account alice /bin/engine", "store " + database + " -> " + first[0].outputFolder,
                           "upload " + first[0].outputFolder + " -> /Drive/alice/Studio as " + database}));
}

TEST_F(TimeMachineXattrFollowUpTest, NothingRunsBeforeAUserFolderIsKnown)
{
    QDir().mkpath(volumes() + "/TM/Backups.backupdb");
    RecordingXattrManager manager;
    TimeMachineXattrFollowUp followUp(QString(), &manager);  // as built before a login
    User account;
    EXPECT_TRUE(followUp.backupXattributes({volumes() + "/TM"}, account, "/bin/engine", "/Drive").isEmpty());
    EXPECT_TRUE(manager.calls.isEmpty());

    followUp.setWorkRoot(root() + "/TimeMachine");
    EXPECT_EQ(followUp.backupXattributes({volumes() + "/TM"}, account, "/bin/engine", "/Drive").size(), 1);
    EXPECT_TRUE(QDir(root() + "/TimeMachine").exists());
}

TEST_F(TimeMachineXattrFollowUpTest, ASavedSetsDatabaseGetsItsListsStoredBesideItOnTheDrive)
{
    const QString database = volumes() + "/TM/Backups.backupdb";
    writeText(database + "/mac/2026-12-01/file", "x");
    if (!TXXattrWrapper::setData("mac", "user.machine", database + "/mac", false))
        GTEST_SKIP() << "the temporary folder's file system keeps no user extended attributes";
    const QString drive = volumes() + "/Drive/TarnixVidezud/alice/Studio";
    QDir().mkpath(drive);
    User account;
    account.setUserName("Alice");
    account.setRuvoUser(true);
    account.setMEncodedPassword("TXE1:pw");
    account.setMEncodedKey("TXE1:key");
    account.setPort("--port=443");
    account.setRuvoServerIP("10.0.0.1");

    TXXattrBackupManager manager;
    SharedXattrBackupManager shared(&manager);
    TimeMachineXattrFollowUp followUp(root() + "/TimeMachine", &shared);
    const auto databases =
        followUp.backupXattributes({volumes() + "/TM"}, account, QLLocalizedString("ExecuterPathRuvo"), drive);
    manager.waitForUploads();
    ASSERT_EQ(databases.size(), 1);
    const QVariantMap list = PropertyList::readDictionary(drive + database + "/.__mac.txxlist");
    EXPECT_EQ(list.value("/").toMap().value("user.machine").toByteArray(), "mac");
    EXPECT_TRUE(list.contains("2026-12-01"));
    const QString runFolder = databases[0].outputFolder.left(databases[0].outputFolder.indexOf("/1" + database));
    EXPECT_EQ(QFileInfo(runFolder).permissions() & 0x0077, 0) << "the work folder is the user's alone";
}

}  // namespace
