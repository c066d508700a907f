#include "uninstaller/removal/UninstallRun.h"
#include "NamedProgram.h"
#include "RecordingRemovalServices.h"
#include "support/SandboxFixture.h"

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
        {Action::RemoveItems, {}, true, {"LoginInfo has no value"}},
        {Action::RemoveItems, {kept, missing}, false, {}},
        {Action::RemoveLoginItems, {"/opt/tx/bin/Client", "/opt/tx/bin/Monitor"}, true, {}},
    });
    EXPECT_TRUE(report.authenticated);
    EXPECT_FALSE(report.succeeded());
    EXPECT_EQ(mAdvances, 3);
    EXPECT_EQ(mServices.removed, (QStringList{removable, refused, kept, missing}));
    EXPECT_FALSE(QFileInfo::exists(removable));
    EXPECT_EQ(report.failures, (QStringList{refused + " could not be removed: Operation not permitted",
                                            "LoginInfo has no value", kept + " could not be removed: it is still there",
                                            "The login item of /opt/tx/bin/Monitor could not be removed"}));
}

// Only what the receipt lists goes, and of that only what no other installation
// beside it still lists: the second brand keeps its programs and the shared engine.
TEST_F(UninstallRunTest, TheInstallationIsWhatItsReceiptListsAndNoOtherNeeds)
{
    const QString app = root() + "/prefix/lib/tarnixvidezud";
    const QString tarnixEntry = file("prefix/share/applications/TarnixVidezud.desktop");
    const QString tarnix = file("prefix/lib/tarnixvidezud/bin/TarnixVidezud");
    const QString tarnixTexts = file("prefix/lib/tarnixvidezud/resources/Tarnix/Localizable.plist");
    const QString quellon = file("prefix/lib/tarnixvidezud/bin/QuellonVidezud");
    const QString engine = file("prefix/lib/tarnixvidezud/bin/txruvo");
    const QString outside = file("prefix/etc/passwd");
    const QString tarnixReceipt = app + "/TarnixVidezud.receipt";
    const QString quellonReceipt = app + "/QuellonVidezud.receipt";
    writeText(tarnixReceipt,
              ("TarnixVidezud 0.1\n" + QStringList{tarnix, tarnixTexts, engine, tarnixEntry, tarnixReceipt}.join('\n') +
               "\nbin/TarnixVidezud\n" + app + "/../../etc/passwd\n/\n")
                  .toUtf8());
    writeText(quellonReceipt,
              ("QuellonVidezud 0.1\n" + QStringList{quellon, engine, quellonReceipt}.join('\n')).toUtf8());

    const UninstallRun::Report report = run({{Action::RemoveInstall, {tarnixReceipt}, true, {}}});
    for (const QString &gone : {tarnix, app + "/resources", tarnixEntry, tarnixReceipt})
        EXPECT_FALSE(QFileInfo::exists(gone)) << gone.toStdString();
    for (const QString &kept : {quellon, engine, quellonReceipt, outside})
        EXPECT_TRUE(QFileInfo::exists(kept)) << kept.toStdString();
    EXPECT_EQ(report.failures, (QStringList{"bin/TarnixVidezud is not an absolute path",
                                            app + "/../../etc/passwd leads out of its folder",
                                            "/ holds more than this program's files"}));

    const UninstallRun::Report last = run({{Action::RemoveInstall, {quellonReceipt}, true, {}}});
    EXPECT_TRUE(last.failures.isEmpty()) << last.failures.join('\n').toStdString();
    EXPECT_FALSE(QFileInfo::exists(app));  // emptied, so removed
    EXPECT_TRUE(QFileInfo::exists(outside));

    const UninstallRun::Report again = run({{Action::RemoveInstall, {quellonReceipt}, true, {}}});
    ASSERT_EQ(again.failures.size(), 1);
    EXPECT_TRUE(again.failures[0].startsWith("No installation was found here")) << again.failures[0].toStdString();
}

}  // namespace
