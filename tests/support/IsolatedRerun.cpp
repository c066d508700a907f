#include "support/IsolatedRerun.h"

#include <QCoreApplication>
#include <QFile>
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
    const QString name =
        QStringLiteral("%1.%2").arg(QString::fromUtf8(test->test_suite_name()), QString::fromUtf8(test->name()));
    arguments << QCoreApplication::applicationFilePath() << QStringLiteral("--gtest_filter=") + name;
    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(wrapper, arguments);
    EXPECT_TRUE(child.waitForFinished(180000)) << "the test in its child process did not end";
    const QString output = QString::fromUtf8(child.readAll());
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit) << output.toStdString();
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("[  PASSED  ] 1 test"))) << output.toStdString();
}

// The environment as this process was started, before any fixture changed it.
QProcessEnvironment startEnvironment()
{
    QProcessEnvironment environment;
    QFile given(QStringLiteral("/proc/self/environ"));
    if (!given.open(QIODevice::ReadOnly))
        return QProcessEnvironment::systemEnvironment();
    for (const QByteArray &entry : given.readAll().split('\0')) {
        const qsizetype equals = entry.indexOf('=');
        if (equals > 0)
            environment.insert(QString::fromLocal8Bit(entry.left(equals)),
                               QString::fromLocal8Bit(entry.mid(equals + 1)));
    }
    return environment;
}

}  // namespace

bool rerunAsAnotherUser()
{
    if (::geteuid() != 0)
        return false;
    // The child makes its own sandbox and session bus: it starts from the environment this
    // process was given, not the roots a fixture moved into folders only root may enter, and
    // root's session bus refuses another user.
    QProcessEnvironment environment = startEnvironment();
    environment.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    environment.insert(QStringLiteral("HOME"), QStringLiteral("/tmp"));
    rerunThisTest(QStringLiteral("setpriv"),
                  {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"), QStringLiteral("--clear-groups"),
                   QStringLiteral("--"), QStringLiteral("dbus-run-session"), QStringLiteral("--")},
                  environment);
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
