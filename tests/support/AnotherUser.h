#pragma once

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

#include <gtest/gtest.h>

#include <unistd.h>

// Root writes where no one else may, so a test of a refused write runs as another user.
// Under root, runAsAnotherUser() runs the current test again in a child process as the
// user "nobody" (its own session bus, its own sandbox), fails the test when the child
// fails, and returns true: the caller returns at once. Under any other user it returns
// false and the caller runs the test itself.
inline bool runAsAnotherUser()
{
    if (::geteuid() != 0)
        return false;
    const ::testing::TestInfo *test = ::testing::UnitTest::GetInstance()->current_test_info();
    const QString filter = QStringLiteral("--gtest_filter=%1.%2").arg(test->test_suite_name(), test->name());
    // The child makes its own sandbox: it starts from the environment this process was given,
    // not the roots its fixture moved into folders only root may enter.
    QProcessEnvironment environment;
    QFile given(QStringLiteral("/proc/self/environ"));
    if (given.open(QIODevice::ReadOnly)) {
        for (const QByteArray &entry : given.readAll().split('\0')) {
            const qsizetype equals = entry.indexOf('=');
            if (equals > 0)
                environment.insert(QString::fromLocal8Bit(entry.left(equals)), QString::fromLocal8Bit(entry.mid(equals + 1)));
        }
    }
    environment.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    environment.insert(QStringLiteral("HOME"), QStringLiteral("/tmp"));
    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QStringLiteral("setpriv"), {"--reuid=65534", "--regid=65534", "--clear-groups", "--",
                                           "dbus-run-session", "--", QCoreApplication::applicationFilePath(), filter});
    EXPECT_TRUE(child.waitForFinished(180000)) << "the test as another user did not end";
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(child.exitCode(), 0) << "the test failed as another user (its output is above)";
    return true;
}
