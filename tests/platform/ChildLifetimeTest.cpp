#include "platform/ChildLifetime.h"
#include "platform/ProcessTable.h"

#include <gtest/gtest.h>

#include <QProcess>

#include <chrono>
#include <csignal>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

// A process that starts a child and is then killed outright: the child must
// not run on as an orphan.
TEST(ChildLifetimeTest, AChildEndsWhenTheProcessThatStartedItIsKilled)
{
    int channel[2];
    ASSERT_EQ(::pipe(channel), 0);
    const pid_t starter = ::fork();
    ASSERT_GE(starter, 0);
    if (starter == 0) {
        QProcess child;
        ChildLifetime::endWithThisProcess(child);
        child.start(QStringLiteral("sleep"), {QStringLiteral("30")});
        const qint64 pid = child.waitForStarted(5000) ? child.processId() : 0;
        if (::write(channel[1], &pid, sizeof pid) != sizeof pid)
            ::_exit(1);
        ::pause();
        ::_exit(0);
    }
    qint64 child = 0;
    ASSERT_EQ(::read(channel[0], &child, sizeof child), ssize_t(sizeof child));
    ::close(channel[0]);
    ::close(channel[1]);
    ASSERT_GT(child, 0);
    ::kill(starter, SIGKILL);
    ::waitpid(starter, nullptr, 0);

    bool ended = false;
    for (int check = 0; check < 250 && !ended; ++check) {
        ended = !ProcessTable::process(child).has_value();
        if (!ended)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (!ended)
        ::kill(pid_t(child), SIGKILL);
    EXPECT_TRUE(ended);
}
