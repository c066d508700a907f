#include "uninstaller/removal/UninstallPlan.h"
#include "common/context/ProgramContext.h"
#include "common/texts/TextTable.h"
#include "platform/PathRoots.h"
#include "support/SandboxFixture.h"
#include "uninstaller/removal/RemovalPathCheck.h"

#include <QDir>
#include <QFile>

#include <pwd.h>
#include <unistd.h>

namespace {

using Action = UninstallStep::Action;

class UninstallPlanTest : public SandboxFixture
{
protected:
    void useBrand(const char *brand)
    {
        qputenv("TX_BRAND", brand);
        ProgramContext::current().texts().reload();
    }
};

// The steps of each brand, in order, each of that brand's own folders and programs.
TEST_F(UninstallPlanTest, EachBrandRemovesItsOwnInstallationAndFolders)
{
    const QString data = home() + "/.local/share";
    const QString config = home() + "/.config";
    const QString bin = PathRoots::programFolder();
    const QString app = PathRoots::applicationFolder();
    const QString prefix = PathRoots::installPrefix();
    for (const char *brand : {"Tarnix", "Quellon"}) {
        SCOPED_TRACE(brand);
        useBrand(brand);
        const QString p = QString::fromLatin1(brand) + "Videzud";
        const QList<UninstallStep> expected = {
            {Action::StopProgram, {p}, true, {}},
            {Action::StopProgram, {p + "Monitor", "txdaemon"}, true, {}},
            {Action::RemoveInstall, {app + '/' + p + ".receipt"}, true, {}},
            {Action::RemoveItems, {support() + '/' + p}, true, {}},
            {Action::RemoveItems, {data + '/' + p, config + '/' + p}, true, {}},
            {Action::RemoveItems, {config + '/' + p + "/Scheduler.plist"}, true, {}},
            {Action::RemoveItems, {config + '/' + p + "/Monitor.plist"}, true, {}},
            {Action::RemoveItems, {app + '/' + p + ".receipt"}, true, {}},
            {Action::RemoveItems,
             {data + "/applications/" + p + ".desktop", prefix + "/share/applications/" + p + ".desktop"},
             false,
             {}},
            {Action::StopProgram, {"txruvo"}, false, {}},
            {Action::RemoveLoginItems, {bin + '/' + p, bin + '/' + p + "Monitor"}, true, {}},
            {Action::RemoveItems, {data + '/' + p + "/LoginInfo.plist"}, true, {}},
            {Action::RemoveItems, {data + '/' + p + "/ApplicationStatus.plist"}, true, {}},
        };
        const QList<UninstallStep> steps = UninstallPlan::forRunningBrand();
        ASSERT_EQ(steps.size(), expected.size());
        for (qsizetype i = 0; i < steps.size(); ++i) {
            EXPECT_EQ(steps[i].subjects, expected[i].subjects) << "step " << i;
            EXPECT_EQ(steps[i], expected[i]) << "step " << i << ": " << steps[i].refusals.join(", ").toStdString();
        }
        EXPECT_EQ(std::count_if(steps.begin(), steps.end(), [](const UninstallStep &s) { return s.advancesProgress; }),
                  11);
    }
}

// A key the table lacks gives its own text, and a value may name a whole root:
// neither is ever taken for something to remove.
TEST_F(UninstallPlanTest, MissingKeysAndRootsAreRefusedNeverRemoved)
{
    const QString resources = root() + "/resources";
    QDir().mkpath(resources + "/Tarnix");
    QFile original(PathRoots::resourcesFolder() + "/Tarnix/Localizable.plist");
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    QString table = QString::fromUtf8(original.readAll());
    table.replace("<key>LoginInfo</key>", "<key>RetiredLoginInfo</key>");
    table.replace("<key>ExecuterName</key>", "<key>RetiredExecuterName</key>");
    table.replace("<key>MonitorExecName</key>", "<key>RetiredMonitorExecName</key>");
    table.replace("<string>${CONFIG}/TarnixVidezud</string>", "<string>${CONFIG}</string>");
    table.replace("<string>${DATA}/applications/TarnixVidezud.desktop</string>",
                  "<string>applications/TarnixVidezud.desktop</string>");
    writeText(resources + "/Tarnix/Localizable.plist", table.toUtf8());
    qputenv("TX_RESOURCES", resources.toUtf8());
    ProgramContext::current().texts().reload();
    const QList<UninstallStep> steps = UninstallPlan::forRunningBrand();
    qunsetenv("TX_RESOURCES");

    EXPECT_EQ(steps[1].subjects, QStringList{"txdaemon"});  // the rest of a step still runs
    EXPECT_EQ(steps[1].refusals, QStringList{"MonitorExecName has no value"});
    EXPECT_EQ(steps[4].subjects, QStringList{home() + "/.local/share/TarnixVidezud"});
    EXPECT_EQ(steps[4].refusals, QStringList{home() + "/.config holds more than this program's files"});
    EXPECT_EQ(steps[8].subjects.size(), 1);
    EXPECT_EQ(steps[8].refusals, QStringList{"applications/TarnixVidezud.desktop is not an absolute path"});
    EXPECT_TRUE(steps[9].subjects.isEmpty());
    EXPECT_EQ(steps[9].refusals, QStringList{"ExecuterName has no value"});
    EXPECT_TRUE(steps[11].subjects.isEmpty());
    EXPECT_EQ(steps[11].refusals, QStringList{"LoginInfo has no value"});
}

TEST_F(UninstallPlanTest, OnlyPathsBelowTheRootsMayBeRemoved)
{
    const QString data = home() + "/.local/share";
    const struct
    {
        QString path;
        bool removable;
    } cases[] = {
        {data + "/TarnixVidezud", true},
        {support() + "/TarnixVidezud/Users", true},
        {"", false},
        {"TarnixVidezud", false},
        {"/", false},
        {home(), false},
        {data, false},
        {home() + "/.local", false},
        {support(), false},
        {PathRoots::programFolder(), false},
        {data + "/TarnixVidezud/../..", false},
    };
    for (const auto &test : cases)
        EXPECT_EQ(RemovalPathCheck::refusal(test.path).isEmpty(), test.removable) << test.path.toStdString();
}

}  // namespace
