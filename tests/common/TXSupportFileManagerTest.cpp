#include "common/files/TXSupportFileManager.h"
#include "common/context/ProgramContext.h"
#include "common/texts/QLLocalizedString.h"
#include "common/texts/TextTable.h"
#include "platform/PathRoots.h"
#include "platform/PropertyList.h"
#include "support/SandboxFixture.h"

class TXSupportFileManagerTest : public SandboxFixture
{
protected:
    // The test's own program context is built in SetUp, after the fixture.
    static TXSupportFileManager &files() { return TXSupportFileManager::txFileManager(); }
    QString dataRoot() const { return home() + "/.local/share/TarnixVidezud"; }
};

TEST_F(TXSupportFileManagerTest, NumbersWithoutAFileGiveNothing)
{
    files().setTarnixUserName("ann");
    for (int number : {56, 57, 74, -1, 1000})
        EXPECT_EQ(files().pathForApplicationFile(number), "") << number;
}

TEST_F(TXSupportFileManagerTest, EachFormBuildsItsPath)
{
    files().setTarnixUserName("ann");
    bool changed = false;
    files().setDestinationDrive("Drive", &changed);
    const struct
    {
        ApplicationFile file;
        QString expected;
    } cases[] = {
        {ApplicationFile::ApplicationRootFolderPath, support() + "/TarnixVidezud"},  // as is
        {ApplicationFile::ProxySetting, dataRoot() + "/ProxySetting.plist"},         // standardized
        {ApplicationFile::BackupsetPath, dataRoot() + "/ann/BackupSet.plist"},       // user
        {ApplicationFile::UserFolder, dataRoot() + "/ann"},                          // user, standardized
        {ApplicationFile::InteractiveBackupProgressFilePath, dataRoot() + "/ann/Operation/Progress%d.txt"},
        {ApplicationFile::LDBFolder, volumes() + "/Drive/TarnixVidezud/ann/.index"},
        {ApplicationFile::LDBDetailsFilePath, dataRoot() + "/ann/IndexDetails.plist"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(files().pathForApplicationFile(c.file), c.expected) << int(c.file);
    EXPECT_EQ(files().interactiveBackupProgressFilePath(2), dataRoot() + "/ann/Operation/Progress2.txt");
}

TEST_F(TXSupportFileManagerTest, SyncModeUsesTheSyncUserForTheIndexFolderOnly)
{
    files().setTarnixUserName("ann");
    files().setSyncUserName("ann_sync");
    bool changed = false;
    files().setDestinationDrive("Drive", &changed);
    writeText(dataRoot() + "/ann/Mode.txt", "0");

    EXPECT_EQ(files().pathForApplicationFile(ApplicationFile::LDBFolder),
              volumes() + "/Drive/TarnixVidezud/Sync/ann_sync/.index");
    EXPECT_EQ(files().pathForApplicationFile(ApplicationFile::LDBDetailsFilePath),
              dataRoot() + "/ann/SyncIndexDetails.plist");

    writeText(dataRoot() + "/ann/Mode.txt", "1");  // asked afresh at each call
    EXPECT_EQ(files().pathForApplicationFile(ApplicationFile::LDBFolder),
              volumes() + "/Drive/TarnixVidezud/ann/.index");
}

TEST_F(TXSupportFileManagerTest, PerUserFilesAreRefusedWithoutAUsableUser)
{
    // Before login a per-user path must not fall back to the folder of every user's data.
    EXPECT_EQ(files().pathForApplicationFile(ApplicationFile::UserFolder), "");
    EXPECT_EQ(files().pathForApplicationFile(ApplicationFile::BackupsetPath), "");
    EXPECT_EQ(files().pathForApplicationFile(ApplicationFile::LDBFolder), "");
    EXPECT_EQ(files().interactiveBackupProgressFilePath(1), "");
    EXPECT_NE(files().pathForApplicationFile(ApplicationFile::LogsFolderPath), "");

    for (const QString name : {"..", ".", "a/b"}) {
        files().setTarnixUserName(name);
        EXPECT_EQ(files().pathForApplicationFile(ApplicationFile::UserFolder), "") << name.toStdString();
    }
}

TEST_F(TXSupportFileManagerTest, PercentSignsInTheUserNameStayLiteral)
{
    files().setTarnixUserName("a%@b%d");
    EXPECT_EQ(files().pathForApplicationFile(ApplicationFile::InteractiveBackupProgressFilePath),
              dataRoot() + "/a%@b%d/Operation/Progress%d.txt");
    EXPECT_EQ(files().interactiveBackupProgressFilePath(1), dataRoot() + "/a%@b%d/Operation/Progress1.txt");
}

TEST_F(TXSupportFileManagerTest, OnlyTheSecondBrandFollowsThePlainUserName)
{
    files().setTarnixUserName("ann");
    files().setUserName("bob");
    EXPECT_EQ(files().pathForApplicationFile(ApplicationFile::UserFolder), dataRoot() + "/ann");

    qputenv("TX_BRAND", "QuellonVidezud");
    ProgramContext::current().texts().reload();
    EXPECT_FALSE(files().isTarnixApplication());
    EXPECT_EQ(files().pathForApplicationFile(ApplicationFile::UserFolder), home() + "/.local/share/QuellonVidezud/bob");
}

TEST_F(TXSupportFileManagerTest, DestinationDriveReportsWhetherItChanged)
{
    bool changed = false;
    files().setDestinationDrive("Drive", &changed);
    EXPECT_TRUE(changed);
    files().setDestinationDrive("Drive", &changed);
    EXPECT_FALSE(changed);
    EXPECT_EQ(files().destinationDrive(), "Drive");
    files().setDestinationDrive("Other", &changed);
    EXPECT_TRUE(changed);
}

TEST_F(TXSupportFileManagerTest, MissingKeysAndAMissingTableGiveNoPath)
{
    const QByteArray savedResources = qgetenv("TX_RESOURCES");
    const QString resources = root() + "/resources";
    writeText(resources + "/Tarnix/Localizable.plist",
              PropertyList::toData(QVariantMap{{"ApplicationName", "Tarnix Rizered"}, {"LogsFolderPath", "/logs"}}));
    qputenv("TX_RESOURCES", resources.toUtf8());
    ProgramContext::current().texts().reload();
    files().setTarnixUserName("ann");

    EXPECT_EQ(QLLocalizedString("NoSuchKey"), "NoSuchKey");
    EXPECT_EQ(QLLocalizedString(QString()), "");
    EXPECT_EQ(files().pathForApplicationFile(ApplicationFile::LogsFolderPath), "/logs");
    EXPECT_EQ(files().pathForApplicationFile(ApplicationFile::UserFolder), "");  // key missing: not a relative path

    // A table that cannot be read is retried at the next lookup.
    qputenv("TX_RESOURCES", (root() + "/nowhere").toUtf8());
    ProgramContext::current().texts().reload();
    EXPECT_EQ(QLLocalizedString("LogsFolderPath"), "LogsFolderPath");
    qputenv("TX_RESOURCES", resources.toUtf8());
    EXPECT_EQ(QLLocalizedString("LogsFolderPath"), "/logs");

    qputenv("TX_RESOURCES", savedResources);
}
