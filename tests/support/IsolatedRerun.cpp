#include "support/IsolatedRerun.h"

#include <QCoreApplication>
#include <QProcess>

#include <gtest/gtest.h>
#include <unistd.h>

namespace {

constexpr char kInNamespace[] = "TX_TEST_IN_MOUNT_NAMESPACE";

// Runs this test again through the wrapper's arguments and reports its failures here.
void rerunThisTest(const QString &wrapper, QStringList arguments,
                   const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
{
    const ::testing::TestInfo *test = ::testing::UnitTest::GetInstance()->current_test_info();
    const QString name = QStringLiteral("%1.%2").arg(QString::fromUtf8(test->test_suite_name()),
                                                     QString::fromUtf8(test->name()));
    arguments << QCoreApplication::applicationFilePath() << QStringLiteral("--gtest_filter=") + name;
    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(wrapper, arguments);
    EXPECT_TRUE(child.waitForFinished(120000)) << "the test in its child process did not end";
    const QString output = QString::fromUtf8(child.readAll());
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit) << output.toStdString();
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("[  PASSED  ] 1 test"))) << output.toStdString();
}

}  // namespace

bool rerunAsAnotherUser()
{
    if (::geteuid() != 0)
        return false;
    rerunThisTest(QStringLiteral("setpriv"), {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                                              QStringLiteral("--clear-groups"), QStringLiteral("--")});
    return true;
}

MountNamespace rerunInMountNamespace()
{
    if (qEnvironmentVariableIsSet(kInNamespace))
        return MountNamespace::Child;
    const QStringList unshare{QStringLiteral("--user"), QStringLiteral("--map-root-user"), QStringLiteral("--mount"),
                              QStringLiteral("--")};
    if (QProcess::execute(QStringLiteral("unshare"), unshare + QStringList{QStringLiteral("true")}) != 0)
        return MountNamespace::CannotMount;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(kInNamespace), QStringLiteral("1"));
    rerunThisTest(QStringLiteral("unshare"), unshare, environment);
    return MountNamespace::Parent;
}
