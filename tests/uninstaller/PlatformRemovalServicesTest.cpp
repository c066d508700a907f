#include "uninstaller/removal/PlatformRemovalServices.h"
#include "support/FakePrivilegedRunner.h"
#include "support/SandboxFixture.h"

#include <QFile>

namespace {

using Action = UninstallStep::Action;

class PlatformRemovalServicesTest : public SandboxFixture
{
protected:
    QString autostart() const { return home() + "/.config/autostart"; }
};

// The runner may remove the planned paths and what the receipt lists, and nothing else.
TEST_F(PlatformRemovalServicesTest, OnlyThePlannedPathsMayBeRemoved)
{
    const QString planned = home() + "/.local/share/TarnixVidezud";
    const QString receipt = root() + "/app/TarnixVidezud.receipt";
    const QString program = root() + "/app/bin/TarnixVidezud";
    writeText(receipt, ("TarnixVidezud 0.1\n" + program + "\n").toUtf8());
    const QList<UninstallStep> steps = {{Action::RemoveInstall, {receipt}, true, {}},
                                        {Action::RemoveItems, {planned}, true, {}},
                                        {Action::StopProgram, {"TarnixVidezud"}, true, {}}};
    FakePrivilegedRunner runner(QLAuthentication::allowListFor(steps));
    QLAuthentication authentication(runner, QLAuthentication::probePathFor(steps));
    LoginItems loginItems;
    PlatformRemovalServices services(authentication, loginItems);

    EXPECT_TRUE(services.authenticate());
    for (const QString &path : {receipt, program, root() + "/app/bin", root() + "/app", planned})
        EXPECT_EQ(services.removeItem(path), "") << path.toStdString();
    for (const QString &path : {home(), planned + "/..", QString("TarnixVidezud"), planned + "/Other"})
        EXPECT_EQ(services.removeItem(path), "removing it was not permitted") << path.toStdString();
    ASSERT_EQ(runner.commands.size(), 6);
    EXPECT_EQ(runner.commands.first(), (QStringList{"/usr/bin/test", "-e", receipt}));
    EXPECT_EQ(runner.commands.last(), (QStringList{"/bin/rm", "-rf", planned}));

    runner.answer = {PrivilegedRunner::Outcome::Finished, 1};
    EXPECT_EQ(services.removeItem(planned), "/bin/rm ended with status 1");
    runner.answer = {PrivilegedRunner::Outcome::Refused, 126};  // the password was refused
    EXPECT_FALSE(services.authenticate());
}

// Login items are matched by the program they start: the same file under
// another path, or by path once the program is gone.
TEST_F(PlatformRemovalServicesTest, LoginItemsAreFoundByTheProgramTheyStart)
{
    const QString program = root() + "/app/bin/TarnixVidezudMonitor";
    const QString link = root() + "/link";
    writeText(program, "x");
    ASSERT_TRUE(QFile::link(root() + "/app", link));
    LoginItems loginItems;
    ASSERT_TRUE(loginItems.add("TarnixVidezudMonitor", link + "/bin/TarnixVidezudMonitor"));
    ASSERT_TRUE(loginItems.add("Other", "/usr/bin/other"));
    FakePrivilegedRunner runner(QLAuthentication::allowListFor({}));
    QLAuthentication authentication(runner, {});
    PlatformRemovalServices services(authentication, loginItems);

    EXPECT_FALSE(services.removeLoginItemWithPath(root() + "/app/bin/Elsewhere"));
    EXPECT_TRUE(services.hasLoginItemWithPath(program));
    EXPECT_TRUE(services.removeLoginItemWithPath(program));
    EXPECT_FALSE(services.hasLoginItemWithPath(program));

    ASSERT_TRUE(loginItems.add("TarnixVidezudMonitor", program));
    QFile::remove(program);
    EXPECT_TRUE(services.hasLoginItemWithPath(program));  // listed though its program is gone
    EXPECT_TRUE(services.removeLoginItemWithPath(program));
    EXPECT_EQ(loginItems.list().size(), 1);
    EXPECT_TRUE(QFile::exists(autostart() + "/Other.desktop"));
}

}  // namespace
