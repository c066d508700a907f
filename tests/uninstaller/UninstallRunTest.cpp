#include "NamedProgram.h"
#include "RecordingRemovalServices.h"
#include "support/SandboxFixture.h"
#include "uninstaller/removal/UninstallRun.h"

#include <QDir>
#include <QFileInfo>
#include <QUuid>

namespace {

using namespace std::chrono_literals;
using Action = UninstallStep::Action;

constexpr UninstallerTimings kRunGrace{300ms, 20ms};

class UninstallRunTest : public SandboxFixture
{
protected:
    QString file(const QString &relative, const QByteArray &content = "x")
    {
        const QString path = root() + '/' + relative;
        writeText(path, content);
        return path;
    }

    UninstallRun::Report run(const QList<UninstallStep> &steps)
    {
        mAdvances = 0;
        return UninstallRun(mServices, kRunGrace).execute(steps, [this] { ++mAdvances; });
    }

    RecordingRemovalServices mServices;
    int mAdvances = 0;
};

TEST_F(UninstallRunTest, WithoutAdministratorRightsNothingIsStoppedOrRemoved)
{
    const QString name = "txrun-" + QUuid::createUuid().toString(QUuid::Id128).left(8);
    NamedProgram client(root(), name, "/bin/sleep", {"30"});
    const QString kept = file("data/Settings.plist");
    mServices.grantsRights = false;

    const UninstallRun::Report report =
        run({{Action::StopProgram, {name}, true, {}}, {Action::RemoveItems, {kept}, true, {}}});
    EXPECT_FALSE(report.authenticated);
    EXPECT_FALSE(report.succeeded());
    EXPECT_TRUE(client.isRunning());
    EXPECT_TRUE(QFileInfo::exists(kept));
    EXPECT_TRUE(mServices.removed.isEmpty());
    EXPECT_EQ(mAdvances, 0);
}

TEST_F(UninstallRunTest, EveryStepRunsAndWhatFailedIsReported)
{
    const QString removable = file("data/Removable.plist");
    const QString refused = file("data/Refused.plist");
    const QString kept = file("data/KeptQuietly.plist");
    const QString missing = root() + "/data/NeverThere.plist";
    mServices.failingPaths = {refused};
    mServices.silentlyKeptPaths = {kept};
    mServices.loginItems = {"/opt/tx/bin/Client", "/opt/tx/bin/Monitor"};
    mServices.stuckLoginItems = {"/opt/tx/bin/Monitor"};

    const UninstallRun::Report report = run({
        {Action::RemoveItems, {removable, refused}, true, {}},
        {Action::RemoveItems, {}, true, "LoginInfo has no value"},
        {Action::RemoveItems, {kept, missing}, false, {}},
        {Action::RemoveLoginItems, {"/opt/tx/bin/Client", "/opt/tx/bin/Monitor"}, true, {}},
    });
    EXPECT_TRUE(report.authenticated);
    EXPECT_FALSE(report.succeeded());
    EXPECT_EQ(mAdvances, 3);
    EXPECT_EQ(mServices.removed, (QStringList{removable, refused, kept, missing}));
    EXPECT_FALSE(QFileInfo::exists(removable));
    EXPECT_EQ(report.failures,
              (QStringList{refused + " could not be removed: Operation not permitted", "LoginInfo has no value",
                           kept + " could not be removed: it is still there",
                           "The login item of /opt/tx/bin/Monitor could not be removed"}));
}

// Only what the receipt lists goes: another brand's program in the same folder stays.
TEST_F(UninstallRunTest, TheInstallationIsWhatItsReceiptLists)
{
    const QString app = root() + "/prefix/lib/tarnixvidezud";
    const QString desktopEntry = file("prefix/share/applications/TarnixVidezud.desktop");
    file("prefix/lib/tarnixvidezud/bin/TarnixVidezud");
    file("prefix/lib/tarnixvidezud/resources/Tarnix/Localizable.plist");
    const QString otherBrand = file("prefix/lib/tarnixvidezud/bin/QuellonVidezud");
    const QString outside = file("prefix/etc/passwd");
    const QString receipt = file("prefix/lib/tarnixvidezud/TarnixVidezud.receipt",
                                 "# installed files\nbin/TarnixVidezud\nresources/Tarnix/Localizable.plist\n\n"
                                     + desktopEntry.toUtf8() + "\n../../etc/passwd\n/\n");

    const UninstallRun::Report report = run({{Action::RemoveInstall, {receipt}, true, {}}});
    EXPECT_FALSE(QFileInfo::exists(app + "/bin/TarnixVidezud"));
    EXPECT_FALSE(QFileInfo::exists(app + "/resources"));
    EXPECT_FALSE(QFileInfo::exists(desktopEntry));
    EXPECT_FALSE(QFileInfo::exists(receipt));
    EXPECT_TRUE(QFileInfo::exists(otherBrand));
    EXPECT_TRUE(QFileInfo::exists(outside));
    ASSERT_EQ(report.failures.size(), 2);  // the two lines that lead out of the installation
    EXPECT_TRUE(report.failures[0].contains("leads out of its folder")) << report.failures[0].toStdString();
    EXPECT_TRUE(report.failures[1].contains("holds more than")) << report.failures[1].toStdString();

    const UninstallRun::Report again = run({{Action::RemoveInstall, {receipt}, true, {}}});
    ASSERT_EQ(again.failures.size(), 1);
    EXPECT_TRUE(again.failures[0].startsWith("No installation was found here")) << again.failures[0].toStdString();
    EXPECT_TRUE(QFileInfo::exists(otherBrand));
}

}  // namespace
