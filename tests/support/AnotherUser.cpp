#include "support/AnotherUser.h"

#include <QCoreApplication>
#include <QProcess>

#include <gtest/gtest.h>
#include <unistd.h>

bool rerunAsAnotherUser()
{
    if (::geteuid() != 0)
        return false;
    const ::testing::TestInfo *test = ::testing::UnitTest::GetInstance()->current_test_info();
    const QString name = QStringLiteral("%1.%2").arg(QString::fromUtf8(test->test_suite_name()),
                                                     QString::fromUtf8(test->name()));
    QProcess child;
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QStringLiteral("setpriv"),
                {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"), QStringLiteral("--clear-groups"),
                 QStringLiteral("--"), QCoreApplication::applicationFilePath(), QStringLiteral("--gtest_filter=") + name});
    EXPECT_TRUE(child.waitForFinished(120000)) << "the test as another user did not end";
    const QString output = QString::fromUtf8(child.readAll());
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit) << output.toStdString();
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("[  PASSED  ] 1 test"))) << output.toStdString();
    return true;
}
