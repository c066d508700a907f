// scripts/run stops the monitor its client started, and no other.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>

namespace {

QString monitorProgram() { return qEnvironmentVariable("TX_BIN_DIR") + "/TarnixVidezudMonitor"; }

bool isMonitor(qint64 pid)
{
    // A process that ended but was not yet reaped has no program any more.
    return QFileInfo(QStringLiteral("/proc/%1/exe").arg(pid)).symLinkTarget() ==
           QFileInfo(monitorProgram()).canonicalFilePath();
}

bool waitUntil(const std::function<bool()> &condition)
{
    for (int tries = 0; tries < 100; ++tries) {
        if (condition())
            return true;
        QThread::msleep(50);
    }
    return condition();
}

class RunScriptMonitorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(mFolder.isValid());
        mEnvironment = QProcessEnvironment::systemEnvironment();
        mEnvironment.insert("HOME", mFolder.path());
        mEnvironment.insert("XDG_CONFIG_HOME", mFolder.path() + "/.config");  // where the monitor adds its login item
        mEnvironment.insert("XDG_RUNTIME_DIR", mFolder.path());
        mEnvironment.remove("TX_RUN_SESSION");
    }

    void TearDown() override
    {
        for (const qint64 pid : mStarted) {
            if (isMonitor(pid))
                ::kill(pid_t(pid), SIGTERM);
        }
    }

    // A monitor started apart from the script, as one of another sandbox or session runs.
    qint64 startOtherMonitor(const QString &mark)
    {
        QProcess process;
        QProcessEnvironment environment = mEnvironment;
        if (!mark.isEmpty())
            environment.insert("TX_RUN_SESSION", mark);
        process.setProcessEnvironment(environment);
        process.setProgram(monitorProgram());
        qint64 pid = 0;
        if (!process.startDetached(&pid))
            return 0;
        mStarted.append(pid);
        return waitUntil([pid] { return isMonitor(pid); }) ? pid : 0;
    }

    // Runs a script that marks its session, starts a monitor detached from itself (as
    // the client does) and ends; returns that monitor's id.
    qint64 runScriptThatStartsAMonitor()
    {
        const QString script = QStringLiteral(R"SH(set -euo pipefail
source "$TX_SOURCE_DIR/scripts/lib/sandbox.sh"
mark_session
setsid "$1" </dev/null >/dev/null 2>&1 &
monitor=$!
for _ in $(seq 100); do [ "$(readlink /proc/$monitor/exe)" = "$(readlink -f "$1")" ] && break; sleep 0.05; done
echo "$monitor"
)SH");
        QProcess bash;
        bash.setProcessEnvironment(mEnvironment);
        bash.start("bash", {"-c", script, "run", monitorProgram()});
        if (!bash.waitForFinished(20000) || bash.exitCode() != 0) {
            ADD_FAILURE() << bash.readAllStandardError().toStdString();
            return 0;
        }
        const qint64 pid = bash.readAllStandardOutput().trimmed().toLongLong();
        mStarted.append(pid);
        return pid;
    }

    QTemporaryDir mFolder;
    QProcessEnvironment mEnvironment;
    QList<qint64> mStarted;
};

TEST_F(RunScriptMonitorTest, TheMonitorTheScriptCausedEndsWithItOthersRunOn)
{
    const qint64 unmarked = startOtherMonitor({});
    const qint64 otherSession = startOtherMonitor(QStringLiteral("another-session"));
    ASSERT_NE(unmarked, 0);
    ASSERT_NE(otherSession, 0);

    const qint64 started = runScriptThatStartsAMonitor();
    ASSERT_NE(started, 0);
    EXPECT_TRUE(waitUntil([started] { return !isMonitor(started); }));

    EXPECT_TRUE(isMonitor(unmarked));
    EXPECT_TRUE(isMonitor(otherSession));
}

}  // namespace
