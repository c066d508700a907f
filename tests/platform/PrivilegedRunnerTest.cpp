#include "platform/PrivilegedRunner.h"
#include "support/FakePrivilegedRunner.h"
#include "support/SandboxFixture.h"

#include <QDir>
#include <QFile>

namespace {

class PrivilegedRunnerTest : public SandboxFixture
{
protected:
    void SetUp() override
    {
        SandboxFixture::SetUp();
        writeText(victim(), "keep me");
        writeText(removable() + "/inner.txt", "remove me");
    }
    QString victim() const { return root() + "/victim.txt"; }
    QString removable() const { return root() + "/Product Folder"; }

    PrivilegedAllowList allowList() const
    {
        return PrivilegedAllowList({{"/bin/rm", {"-rvf"}, PrivilegedVerb::Operand::AllowedPath},
                                    {"/bin/kill", {"-9"}, PrivilegedVerb::Operand::ProcessId},
                                    {"/no/such/tool", {}, PrivilegedVerb::Operand::AllowedPath}},
                                   {removable(), "/", root() + "/odd \"$(touch pwned)\"; name"});
    }

    // A pkexec stand-in that records the argument vector it got, NUL-separated, and exits with the code.
    QString pkexecStandIn(int exitCode) const
    {
        const QString path = root() + "/pkexec";
        writeText(path, QStringLiteral("#!/bin/sh\nprintf '%s\\0' \"$@\" > '%1'\nexit %2\n")
                            .arg(recordPath())
                            .arg(exitCode)
                            .toUtf8());
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }
    QString recordPath() const { return root() + "/pkexec-argv"; }
    QStringList recordedArguments() const
    {
        QByteArray bytes = readText(recordPath());
        bytes.chop(1);
        QStringList arguments;
        for (const QByteArray &argument : bytes.split('\0'))
            arguments.append(QString::fromUtf8(argument));
        return arguments;
    }
};

TEST_F(PrivilegedRunnerTest, ACommandOutsideTheAllowListRunsNothing)
{
    const QString outside = victim();
    const struct
    {
        QString tool;
        QStringList arguments;
    } refused[] = {
        {"/bin/chmod", {"777", outside}},                       // a verb not listed
        {"/bin/rm", {"-rvf", outside}},                         // a path not listed
        {"/bin/rm", {"-rvf", removable() + "/../victim.txt"}},  // a listed folder, climbed out of
        {"/bin/rm", {"-rvf", removable() + "/"}},               // not the clean form of the listed path
        {"/bin/rm", {"-rvf", "Product Folder"}},                // relative
        {"/bin/rm", {"-rvf", "/"}},                             // the root, even when listed
        {"/bin/rm", {"-rvf", removable(), outside}},            // one operand too many
        {"/bin/rm", {"-rf", outside}},                          // other options
        {"/bin/rm", {removable()}},                             // the options left out
        {"rm", {"-rvf", removable()}},                          // the tool not by its absolute path
        {"/bin/kill", {"-9", "-1"}},                            // every process
        {"/bin/kill", {"-9", "0"}},                             // the own process group
        {"/bin/kill", {"-9", "12; rm -rf /"}},
        {"/bin/kill", {"-9", "+12"}},
    };
    DirectPrivilegedRunner direct(allowList());
    PkexecPrivilegedRunner pkexec(allowList(), pkexecStandIn(0));
    FakePrivilegedRunner fake(allowList());
    for (const auto &r : refused) {
        for (PrivilegedRunner *runner : std::initializer_list<PrivilegedRunner *>{&direct, &pkexec, &fake})
            EXPECT_EQ(runner->run(r.tool, r.arguments).outcome, PrivilegedRunner::Outcome::Refused)
                << r.tool.toStdString() << " " << r.arguments.join(' ').toStdString();
    }
    EXPECT_TRUE(QFile::exists(victim()));
    EXPECT_TRUE(QFile::exists(removable() + "/inner.txt"));
    EXPECT_FALSE(QFile::exists(recordPath()));  // pkexec was never started
    EXPECT_TRUE(fake.commands.isEmpty());
}

TEST_F(PrivilegedRunnerTest, TheDirectRunnerRunsAPermittedCommandAndReportsItsExit)
{
    DirectPrivilegedRunner runner(allowList());
    const PrivilegedRunner::Result removed = runner.run("/bin/rm", {"-rvf", removable()});
    EXPECT_TRUE(removed.succeeded());
    EXPECT_FALSE(QFile::exists(removable()));
    EXPECT_TRUE(QFile::exists(victim()));

    // A process id that names no process: kill runs, fails, and the failure is reported.
    const PrivilegedRunner::Result killed = runner.run("/bin/kill", {"-9", "999999999"});
    EXPECT_EQ(killed.outcome, PrivilegedRunner::Outcome::Finished);
    EXPECT_FALSE(killed.succeeded());

    EXPECT_EQ(runner.run("/no/such/tool", {removable()}).outcome, PrivilegedRunner::Outcome::NotStarted);
}

TEST_F(PrivilegedRunnerTest, PkexecGetsTheArgumentVectorUnchangedAndNoShellSeesIt)
{
    const QString odd = root() + "/odd \"$(touch pwned)\"; name";
    PkexecPrivilegedRunner runner(allowList(), pkexecStandIn(0));
    EXPECT_TRUE(runner.run("/bin/rm", {"-rvf", odd}).succeeded());
    EXPECT_EQ(recordedArguments(), (QStringList{"/bin/rm", "-rvf", odd}));
    EXPECT_FALSE(QFile::exists(QDir::currentPath() + "/pwned"));
    EXPECT_FALSE(QFile::exists(root() + "/pwned"));
}

TEST_F(PrivilegedRunnerTest, RightsRefusedThroughPkexecAreARefusal)
{
    for (int code : {126, 127}) {
        PkexecPrivilegedRunner runner(allowList(), pkexecStandIn(code));
        const PrivilegedRunner::Result result = runner.run("/bin/rm", {"-rvf", removable()});
        EXPECT_EQ(result.outcome, PrivilegedRunner::Outcome::Refused) << code;
        EXPECT_FALSE(result.succeeded());
    }
    PkexecPrivilegedRunner failing(allowList(), pkexecStandIn(1));  // the tool ran and failed
    EXPECT_EQ(failing.run("/bin/rm", {"-rvf", removable()}).outcome, PrivilegedRunner::Outcome::Finished);
    PkexecPrivilegedRunner missing(allowList(), root() + "/no-pkexec");
    EXPECT_EQ(missing.run("/bin/rm", {"-rvf", removable()}).outcome, PrivilegedRunner::Outcome::NotStarted);
}

}  // namespace
