#include "session/vectors/SessionEngineVectors.h"

#include "session/SecretArguments.h"
#include "support/SandboxFixture.h"

#include <gtest/gtest.h>

// The engine vectors of every mode and launch kind, element by element.

using SessionEngineVectors::Mode;

namespace {

SessionEngineVectors::Inputs inputs(Mode mode, bool firstLaunch)
{
    SessionEngineVectors::Inputs in;
    in.mode = mode;
    in.firstLaunch = firstLaunch;
    in.executable = "/bin/txruvo";
    in.outputFile = "/op/OutData_3.txt";
    in.errorFile = "/op/ErrorData_3.txt";
    in.bandwidthFile = "/op/QLThrottle";
    in.proxyArgument = "--proxy=";
    in.portArgument = "--port=443";
    in.encodedKey = "TXE1:key";
    in.password = "TXE1:pw";
    in.cancelFile = "/op/intCancel";
    in.tempFolder = "/op";
    in.listFile = "/op/SourceA";
    in.dataRoot = "/v/D/TarnixVidezud/ann/Office";
    in.remoteUser = "ann";
    in.remoteServer = "10.0.0.1";
    in.baseFolder = "/home/ann/";
    in.backupSourceFolder = "/";
    return in;
}

struct VectorCase
{
    const char *name;
    SessionEngineVectors::Inputs in;
    QStringList expected;  // secrets as "<key>" and "<password>"
};

const QStringList kBackupFirst{"/bin/txruvo",
                               "--o=/op/OutData_3.txt",
                               "--e=/op/ErrorData_3.txt",
                               "--bw-file=/op/QLThrottle",
                               "--relative",
                               "--encode",
                               "--enc-opt",
                               "--add-progress",
                               "--xml-output",
                               "--portable",
                               "--portable-dest=/v/D/TarnixVidezud/ann/Office",
                               "--no-versions",
                               "--temp=/op",
                               "--port=443",
                               "<key>",
                               "<password>",
                               "--chk-cancel=/op/intCancel",
                               "--files-from=/op/SourceA",
                               "/",
                               "ann@10.0.0.1::home/v/D/TarnixVidezud/ann/Office"};

SessionEngineVectors::Inputs withVersionsAndProxy(bool versions, const QString &proxy)
{
    SessionEngineVectors::Inputs in = inputs(Mode::Backup, true);
    in.keepVersions = versions;
    in.proxyArgument = proxy;
    return in;
}

SessionEngineVectors::Inputs restoreWithBase(const QString &base)
{
    SessionEngineVectors::Inputs in = inputs(Mode::Restore, true);
    in.dataRoot = "/v/D/TarnixVidezud/ann";
    in.baseFolder = base;
    in.backupSourceFolder = "/home/ann/Restored";
    return in;
}

QStringList restoreVector(const QString &relative, const QString &remote)
{
    return {"/bin/txruvo",
            "--o=/op/OutData_3.txt",
            "--e=/op/ErrorData_3.txt",
            "--bw-file=/op/QLThrottle",
            relative,
            "--encode",
            "--enc-opt",
            "--mask-name",
            "--portable",
            "--portable-dest=/v/D/TarnixVidezud/ann",
            "--add-progress",
            "--xml-output",
            "--temp=/op",
            "--port=443",
            "--timeout=900",
            "<key>",
            "<password>",
            "--chk-cancel=/op/intCancel",
            "--files-from=/op/SourceA",
            remote,
            "/home/ann/Restored"};
}

class SessionVectorTable : public SandboxFixture, public ::testing::WithParamInterface<VectorCase>
{};

TEST_P(SessionVectorTable, BuildsTheVectorWithSecretsInPrivateFiles)
{
    const VectorCase &c = GetParam();
    const EngineArguments vector = SessionEngineVectors::build(c.in);
    ASSERT_TRUE(vector.isComplete()) << vector.missingValue.toStdString();
    const QStringList shown = withSecretsNamed(vector.arguments, c.in.encodedKey, c.in.password);
    EXPECT_EQ(shown, c.expected);
    const QStringList logged = SessionEngineVectors::loggedCopy(vector.arguments);
    EXPECT_EQ(logged.size(), c.expected.size() - 2);
    EXPECT_FALSE(logged.join(' ').contains("TXE1")) << "the logged vector holds no secret";
}

INSTANTIATE_TEST_SUITE_P(
    Modes, SessionVectorTable,
    ::testing::Values(VectorCase{"BackupFirstLaunch", inputs(Mode::Backup, true), kBackupFirst},
                      VectorCase{"BackupFirstLaunchWithVersionsHasNineteen", withVersionsAndProxy(true, "--proxy="),
                                 [] {
                                     QStringList v = kBackupFirst;
                                     v.removeAll("--no-versions");
                                     return v;
                                 }()},
                      VectorCase{"BackupFirstLaunchWithProxy", withVersionsAndProxy(false, "--proxy=:@px:8080"),
                                 [] {
                                     QStringList v = kBackupFirst;
                                     v.insert(4, "--proxy=:@px:8080");
                                     return v;
                                 }()},
                      VectorCase{"BackupRelaunch",
                                 inputs(Mode::Backup, false),
                                 {"/bin/txruvo",
                                  "--o=/op/OutData_3.txt",
                                  "--e=/op/ErrorData_3.txt",
                                  "--encode",
                                  "--relative",
                                  "--portable",
                                  "--enc-opt",
                                  "--portable-dest=/v/D/TarnixVidezud/ann/Office",
                                  "--no-versions",
                                  "--add-progress",
                                  "--xml-output",
                                  "--timeout=900",
                                  "--port=443",
                                  "--bw-file=/op/QLThrottle",
                                  "<key>",
                                  "<password>",
                                  "--chk-cancel=/op/intCancel",
                                  "--temp=/op",
                                  "--files-from=/op/SourceA",
                                  "/",
                                  "ann@10.0.0.1::home/v/D/TarnixVidezud/ann/Office"}},
                      VectorCase{"SyncFirstLaunch",
                                 inputs(Mode::Sync, true),
                                 {"/bin/txruvo", "--o=/op/OutData_3.txt", "--e=/op/ErrorData_3.txt",
                                  "--bw-file=/op/QLThrottle", "--encode", "--enc-opt", "--add-progress", "--xml-output",
                                  "--portable", "--portable-dest=/v/D/TarnixVidezud/ann/Office", "--no-versions",
                                  "--temp=/op", "--port=443", "<key>", "<password>", "--chk-cancel=/op/intCancel",
                                  "--files-from=/op/SourceA", "/home/ann/",
                                  "ann@10.0.0.1::home/v/D/TarnixVidezud/ann/Office"}},
                      VectorCase{"SyncRelaunch",
                                 inputs(Mode::Sync, false),
                                 {"/bin/txruvo",
                                  "--o=/op/OutData_3.txt",
                                  "--e=/op/ErrorData_3.txt",
                                  "--encode",
                                  "--portable",
                                  "--enc-opt",
                                  "--portable-dest=/v/D/TarnixVidezud/ann/Office",
                                  "--no-versions",
                                  "--add-progress",
                                  "--xml-output",
                                  "--timeout=900",
                                  "--port=443",
                                  "--bw-file=/op/QLThrottle",
                                  "<key>",
                                  "<password>",
                                  "--chk-cancel=/op/intCancel",
                                  "--temp=/op",
                                  "--files-from=/op/SourceA",
                                  "/home/ann/",
                                  "ann@10.0.0.1::home/v/D/TarnixVidezud/ann/Office"}},
                      VectorCase{"RestoreOfTheDataRoot", restoreWithBase("//"),
                                 restoreVector("--relative", "ann@10.0.0.1::home/v/D/TarnixVidezud/ann//")},
                      VectorCase{"RestoreWithMarker", restoreWithBase("$$$$$$$$$$$$$$###############"),
                                 restoreVector("--no-relative", "ann@10.0.0.1::home/v/D/TarnixVidezud/ann/")}),
    [](const auto &info) { return std::string(info.param.name); });

}  // namespace
