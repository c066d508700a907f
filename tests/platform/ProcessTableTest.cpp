#include "platform/ProcessTable.h"
#include "support/SandboxFixture.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QUuid>

#include <unistd.h>

namespace {

// Starts a program under a name no other process on the machine carries.
class NamedProgram
{
public:
    NamedProgram(const QString &folder, const QString &name, const QStringList &arguments)
    {
        const QString copy = folder + '/' + name;
        QFile::copy(QStringLiteral("/bin/sleep"), copy);
        QFile::setPermissions(copy, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        mProcess.start(copy, arguments);
        mProcess.waitForStarted();
    }
    ~NamedProgram()
    {
        mProcess.kill();
        mProcess.waitForFinished();
    }
    qint64 pid() const { return mProcess.processId(); }
    QProcess &process() { return mProcess; }

private:
    QProcess mProcess;
};

class ProcessTableTest : public SandboxFixture
{};

TEST_F(ProcessTableTest, FindsAndEndsOnlyProcessesRunningExactlyThatProgram)
{
    const QString name = "txsleep-" + QUuid::createUuid().toString(QUuid::Id128).left(8);
    NamedProgram target(root(), name, {"30"});
    ASSERT_GT(target.pid(), 0);
    // Processes whose command line names the program, or whose program name
    // merely begins like it, are not that program.
    QProcess mention;
    mention.start("/usr/bin/tail", {"-f", root() + '/' + name});
    ASSERT_TRUE(mention.waitForStarted());
    NamedProgram longer(root(), name + "x", {"30"});

    EXPECT_EQ(ProcessTable::processIdsNamed(name), QList<qint64>{target.pid()});
    const auto found = ProcessTable::process(target.pid());
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->name, name);
    EXPECT_EQ(found->executablePath, root() + '/' + name);

    EXPECT_EQ(ProcessTable::terminateProcessesNamed(name), 1);
    ASSERT_TRUE(target.process().waitForFinished(5000));
    EXPECT_EQ(target.process().exitStatus(), QProcess::CrashExit);  // ended by the signal
    EXPECT_EQ(mention.state(), QProcess::Running);
    EXPECT_EQ(longer.process().state(), QProcess::Running);
    EXPECT_TRUE(ProcessTable::processIdsNamed(name).isEmpty());
    mention.kill();
    mention.waitForFinished();
}

TEST_F(ProcessTableTest, NeverListsItselfAndKnowsNoForeignOrMissingProcess)
{
    const QString ownName = QCoreApplication::applicationFilePath().section(QLatin1Char('/'), -1);
    EXPECT_TRUE(ProcessTable::process(::getpid()).has_value());
    EXPECT_FALSE(ProcessTable::processIdsNamed(ownName).contains(::getpid()));
    EXPECT_TRUE(ProcessTable::processIdsNamed(QString()).isEmpty());
    EXPECT_FALSE(ProcessTable::process(0).has_value());
    EXPECT_FALSE(ProcessTable::process(-1).has_value());
    EXPECT_FALSE(ProcessTable::process(2).has_value());  // a kernel thread runs no executable
}

}  // namespace
