#include "common/context/ProgramContext.h"
#include "common/texts/QLLocalizedString.h"
#include "common/texts/TextTable.h"
#include "platform/PathRoots.h"
#include "support/SandboxFixture.h"

#include <algorithm>

// The keys the monitor, the daemon and the uninstaller look up: each resolves in
// both brands, and each path lands under the root it belongs to.
class LocalizableKeysTest : public SandboxFixture, public ::testing::WithParamInterface<const char *>
{
protected:
    void SetUp() override
    {
        SandboxFixture::SetUp();
        qputenv("TX_BRAND", GetParam());
        ProgramContext::current().texts().reload();
    }
    QString product() const { return QString::fromLatin1(GetParam()) + "Videzud"; }
};

namespace {

enum class Root
{
    UserData,
    UserConfig,
    Support,
    Programs,
    Application,
    Prefix
};

struct KeyCase
{
    const char *key;
    Root root;
    const char *tail;  // what follows the root; {P} stands for the brand's product name
};

// Files the Mac kept in one folder for every user: per user here, in the user's own folder.
const KeyCase kPerUserControlFiles[] = {
    {"SchedulerSettingsFile", Root::UserData, "/{P}/Schedules.archive"},
    {"SchedulerState", Root::UserData, "/{P}/SchedulerState"},
    {"SchedulerStatus", Root::UserData, "/{P}/SchedulerStatus"},
    {"SchedulerProgress", Root::UserData, "/{P}/SchedulerProgress"},
    {"ApplicationStatusPath", Root::UserData, "/{P}/ApplicationStatus.plist"},
    {"MultiplePCStateFilePath", Root::UserData, "/{P}/TarnixMultipleMacState.plist"},
};

const KeyCase kLaterKeys[] = {
    {"ApplicationPreferenceFile", Root::UserConfig, "/{P}/Scheduler.plist"},
    {"SchedulerPreferencesFilePath", Root::UserData, "/{P}/SchedulerPreferences.plist"},
    {"BackupFailCountFilePath", Root::UserData, "/{P}/%@/BackupFailCount.plist"},
    {"MonitorUserDefaultsFile", Root::UserConfig, "/{P}/Monitor.plist"},
    {"WebmanagementFilePath", Root::UserData, "/{P}/WebManagement.plist"},
    {"WebmanagementFilePathTemp", Root::UserData, "/{P}/WebManagementReport.plist"},
    {"TrayHelpMarkerFilePath", Root::UserData, "/{P}/installfortray.txt"},
    {"MagicFile", Root::Support, "/{P}/InternalSupport"},
    {"ApplicationExecPath", Root::Programs, "/{P}"},
    {"ApplicationsFolder", Root::Application, ""},
    {"RecieptFilePath", Root::Application, "/{P}.receipt"},
    {"DesktopEntryPath", Root::Prefix, "/share/applications/{P}.desktop"},
};

QString rootPath(Root root)
{
    switch (root) {
    case Root::UserData:
        return PathRoots::userDataRoot();
    case Root::UserConfig:
        return PathRoots::userConfigRoot();
    case Root::Support:
        return PathRoots::machineSupportRoot();
    case Root::Programs:
        return PathRoots::programFolder();
    case Root::Application:
        return PathRoots::applicationFolder();
    case Root::Prefix:
        return PathRoots::installPrefix();
    }
    return {};
}

QString expectedPath(const KeyCase &c, const QString &product)
{
    return rootPath(c.root) + QString::fromLatin1(c.tail).replace("{P}", product);
}

}  // namespace

TEST_P(LocalizableKeysTest, PathKeysResolveUnderTheSandboxRoots)
{
    const auto check = [this](const KeyCase &c) {
        EXPECT_EQ(QLLocalizedString(c.key), expectedPath(c, product())) << c.key;
    };
    std::for_each(std::begin(kPerUserControlFiles), std::end(kPerUserControlFiles), check);
    std::for_each(std::begin(kLaterKeys), std::end(kLaterKeys), check);
}

TEST_P(LocalizableKeysTest, NoControlFileIsSharedBetweenUsers)
{
    // Every user writes these; in a machine-wide folder one user could rewrite another's.
    for (const KeyCase &c : kPerUserControlFiles)
        EXPECT_FALSE(QLLocalizedString(c.key).startsWith(PathRoots::machineSupportRoot())) << c.key;
}

TEST_P(LocalizableKeysTest, NamesAndAddressesHaveValues)
{
    const QString product = this->product();
    const bool tarnix = QString::fromLatin1(GetParam()) == "Tarnix";
    const struct
    {
        const char *key;
        QString value;
    } names[] = {
        {"ApplicationExecName", product},
        {"MonitorExecName", product + "Monitor"},
        {"ExecuterName", "txruvo"},
        {"STunnelName", "stunnel"},
        {"ApplicationIcon", tarnix ? "Portable_tray1" : "trayicon"},
        {"ApplicationAlternateIcon", tarnix ? "Portable_tray2" : "trayicon_slctd"},
    };
    for (const auto &n : names)
        EXPECT_EQ(QLLocalizedString(n.key), n.value) << n.key;
    EXPECT_TRUE(QLLocalizedString("VersionCheckServiceURL").startsWith("https://"));
}

INSTANTIATE_TEST_SUITE_P(BothBrands, LocalizableKeysTest, ::testing::Values("Tarnix", "Quellon"),
                         [](const auto &info) { return std::string(info.param); });
