// scripts/run starts the daemon in its sandbox and stops it when it ends.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(DaemonRunScriptTest, TheScriptsDaemonRunsInItsSandboxAndEndsWithIt)
{
    QTemporaryDir sandbox;
    ASSERT_TRUE(sandbox.isValid());
    const QString script = QStringLiteral(R"SH(set -euo pipefail
source "$TX_SOURCE_DIR/scripts/lib/sandbox.sh"
enter_sandbox "$1"
start_daemon "$1" "$(dirname "$TX_BIN_DIR")"
echo "$daemon_pid"
)SH");
    QProcess bash;
    bash.start("bash", {"-c", script, "run", sandbox.path()});
    ASSERT_TRUE(bash.waitForFinished(30000));
    ASSERT_EQ(bash.exitCode(), 0) << bash.readAllStandardError().toStdString();
    const QString pid = QString::fromUtf8(bash.readAllStandardOutput()).trimmed();
    ASSERT_FALSE(pid.isEmpty());
    QFile output(sandbox.path() + "/daemon.out");
    ASSERT_TRUE(output.open(QIODevice::ReadOnly));
    EXPECT_TRUE(output.readAll().startsWith("txdaemon running"));
    EXPECT_FALSE(QFileInfo::exists("/proc/" + pid + "/exe")) << "stopped with the script";
    // Its files stayed inside the sandbox.
    EXPECT_TRUE(QFileInfo::exists(sandbox.path() + "/home/.local/share/TarnixVidezud/Schedules.archive.daemon.lock"));
}

}  // namespace
