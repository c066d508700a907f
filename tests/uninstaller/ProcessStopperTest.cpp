#include "uninstaller/removal/ProcessStopper.h"
#include "NamedProgram.h"
#include "support/SandboxFixture.h"

#include <QDir>
#include <QFile>
#include <QUuid>

namespace {

using namespace std::chrono_literals;

constexpr UninstallerTimings kStopGrace{1000ms, 20ms};

QString uniqueName() { return "txstop-" + QUuid::createUuid().toString(QUuid::Id128).left(8); }

// The copies must be reachable by another user for the foreign-owner case.
QString sharedFolder(const QString &root)
{
    const QString folder = root + "/programs";
    QDir().mkpath(folder);
    for (const QString &path : {root, folder})
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                        QFileDevice::ReadOther | QFileDevice::ExeOther);
    return folder;
}

class ProcessStopperTest : public SandboxFixture
{};

TEST_F(ProcessStopperTest, AsksFirstAndForcesOnlyWhatOutlivesTheGrace)
{
    const QString folder = sharedFolder(root());
    struct Case
    {
        const char *what;
        QString original;
        QStringList arguments;
        int killed;
    };
    // The shell waits with a built-in: a child it forked would run the same program for a moment.
    const QString ignoresTerm = "trap '' TERM; echo trapped; while :; do read -r -t 60 _; done";
    const Case cases[] = {
        {"ends when asked", "/bin/sleep", {"30"}, 0},
        {"ignores the request", "/bin/bash", {"-c", ignoresTerm}, 1},
    };
    for (const Case &test : cases) {
        SCOPED_TRACE(test.what);
        const QString name = uniqueName();
        NamedProgram target(folder, name, test.original, test.arguments);
        if (test.killed > 0) {
            ASSERT_TRUE(target.waitForOutput("trapped"));
        }
        const ProcessStopper::Result result = ProcessStopper(false, kStopGrace).stopProcessesNamed(name);
        EXPECT_EQ(result.found, 1);
        EXPECT_EQ(result.killed, test.killed);
        EXPECT_EQ(result.remaining, 0);
        EXPECT_TRUE(target.endsWithin(10000));
    }
}

TEST_F(ProcessStopperTest, LeavesLookAlikesAndNamesInArgumentsAlone)
{
    const QString folder = sharedFolder(root());
    const QString name = uniqueName();
    NamedProgram target(folder, name, "/bin/sleep", {"30"});
    NamedProgram longer(folder, name + "x", "/bin/sleep", {"30"});
    NamedProgram mention(folder, uniqueName(), "/usr/bin/tail", {"-f", target.path()});

    const ProcessStopper::Result result = ProcessStopper(false, kStopGrace).stopProcessesNamed(name);
    EXPECT_EQ(result.found, 1);
    EXPECT_TRUE(target.endsWithin(10000));
    EXPECT_TRUE(longer.isRunning());
    EXPECT_TRUE(mention.isRunning());
    EXPECT_EQ(ProcessStopper(false, kStopGrace).stopProcessesNamed(uniqueName()).found, 0);
}

// Another user's copy is stopped only with administrator rights (the tests run as root).
TEST_F(ProcessStopperTest, AnotherUsersProgramIsStoppedOnlyWithAdministratorRights)
{
    ASSERT_EQ(::geteuid(), 0u) << "this case needs administrator rights to start a process as another user";
    const QString folder = sharedFolder(root());
    const QString name = uniqueName();
    NamedProgram foreign(folder, name, "/bin/sleep", {"30"},
                         {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"});
    ASSERT_TRUE(foreign.waitUntilNamed());  // setpriv has become the program

    EXPECT_EQ(ProcessStopper(false, kStopGrace).stopProcessesNamed(name).found, 0);
    EXPECT_TRUE(foreign.isRunning());
    const ProcessStopper::Result result = ProcessStopper(true, kStopGrace).stopProcessesNamed(name);
    EXPECT_EQ(result.found, 1);
    EXPECT_EQ(result.remaining, 0);
    EXPECT_TRUE(foreign.endsWithin(10000));
}

}  // namespace
