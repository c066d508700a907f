#include "common/context/ProgramContext.h"
#include "common/texts/QLLocalizedString.h"
#include "common/texts/TextTable.h"
#include "common/utility/QLUtility.h"
#include "platform/PropertyList.h"
#include "support/SandboxFixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <unistd.h>

class QLUtilityMachineTest : public SandboxFixture
{
protected:
    void TearDown() override
    {
        qunsetenv("TX_COMPUTER_NAME");
        SandboxFixture::TearDown();
    }

    static void useBrand(const char *brand)
    {
        qputenv("TX_BRAND", brand);
        ProgramContext::current().texts().reload();
    }
};

TEST_F(QLUtilityMachineTest, MachineNameKeepsOnlyLettersAndDigits)
{
    const struct
    {
        const char *computer;
        const char *name;
    } cases[] = {{"My Mac-Book (2)", "MyMacBook2"}, {"Büro-PC", "BüroPC"}, {"--- ()", ""}};
    for (const auto &test : cases) {
        qputenv("TX_COMPUTER_NAME", test.computer);
        EXPECT_EQ(QLUtility::machineName(), QString::fromUtf8(test.name)) << test.computer;
    }
}

TEST_F(QLUtilityMachineTest, PortArgumentComesFromAValidPortFileOnly)
{
    const QString portFile = QLLocalizedString("PortFilePath");
    EXPECT_EQ(QLUtility::portParam(), "--port=443");
    const struct
    {
        const char *text;
        const char *argument;
    } cases[] = {
        {"8443", "--port=8443"}, {" 8443\n", "--port=8443"}, {"1", "--port=1"},       {"65535", "--port=65535"},
        {"0", "--port=443"},     {"65536", "--port=443"},    {"84 43", "--port=443"}, {"8443 --debug", "--port=443"},
        {"-1", "--port=443"},    {"", "--port=443"},
    };
    for (const auto &test : cases) {
        writeText(portFile, test.text);
        EXPECT_EQ(QLUtility::portParam(), test.argument) << test.text;
    }
}

TEST_F(QLUtilityMachineTest, BrandAndApplicationNameFollowTheRunningBrand)
{
    useBrand("TarnixVidezud");
    EXPECT_EQ(QLUtility::applicationName(), "Tarnix Rizered");
    EXPECT_TRUE(QLUtility::isTarnixApplication());
    useBrand("QuellonVidezud");
    EXPECT_FALSE(QLUtility::isTarnixApplication());
}

TEST_F(QLUtilityMachineTest, ModeIsBackupUnlessTheModeFileSaysOtherwise)
{
    const QString modeFile = QLLocalizedString("BackupModePath").replace("%@", "ann");
    EXPECT_TRUE(QLUtility::isAppInBackupMode("ann"));
    writeText(modeFile, "0");
    EXPECT_FALSE(QLUtility::isAppInBackupMode("ann"));
    writeText(modeFile, "1");
    EXPECT_TRUE(QLUtility::isAppInBackupMode("ann"));
}

TEST_F(QLUtilityMachineTest, MonitorPreferencesAreReadWithTheirExactKeys)
{
    EXPECT_FALSE(QLUtility::ShowHiddenFilesKey());
    EXPECT_FALSE(QLUtility::EnableExcludeHiddenFiles());
    const QString preferences = QLLocalizedString("MonitorPreferencePath");
    QDir().mkpath(QFileInfo(preferences).absolutePath());
    ASSERT_TRUE(PropertyList::write(preferences,
                                    QVariantMap{{"ShowHiddenFilesKey ", true}, {"enableExcludeHiddenFilesKey", 0}}));
    EXPECT_TRUE(QLUtility::ShowHiddenFilesKey());
    EXPECT_FALSE(QLUtility::EnableExcludeHiddenFiles());
    // Without its trailing blank the key is another one.
    ASSERT_TRUE(PropertyList::write(preferences,
                                    QVariantMap{{"ShowHiddenFilesKey", true}, {"enableExcludeHiddenFilesKey", "YES"}}));
    EXPECT_FALSE(QLUtility::ShowHiddenFilesKey());
    EXPECT_TRUE(QLUtility::EnableExcludeHiddenFiles());
}

TEST_F(QLUtilityMachineTest, ProcessListNamesTheRunningPrograms)
{
    const QString ownName = QCoreApplication::applicationFilePath().section('/', -1);
    EXPECT_TRUE(QLUtility::getBSDProcessList().contains(ownName));
    const QVariantMap info = QLUtility::infoForPID(::getpid());
    EXPECT_EQ(info.value("CFBundleName").toString(), ownName);
    EXPECT_EQ(info.value("pid").toLongLong(), ::getpid());
    EXPECT_TRUE(QLUtility::infoForPID(-1).isEmpty());
    EXPECT_FALSE(QLUtility::MacOSVersion().isEmpty());
}
