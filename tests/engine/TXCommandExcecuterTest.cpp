#include "engine/command/TXCommandExcecuter.h"
#include "EngineTestSupport.h"
#include "engine/command/EngineArgumentsBuilder.h"
#include "engine/command/TXCommandDelegate.h"
#include "support/SandboxFixture.h"

#include <QDir>

namespace {

class RecordingDelegate : public TXCommandDelegate
{
public:
    void ruvoTaskFinished(TXCommandExcecuter *runner) override
    {
        ++finishedCount;
        output = runner->outStr();
        error = runner->errorStr();
    }
    void readOutPut(TXCommandExcecuter *) override { ++spillCount; }
    QString errorFilePath() const override { return errorFile; }
    QString outFilePath() const override { return outFile; }

    int finishedCount = 0;
    int spillCount = 0;
    QString output;
    QString error;
    QString errorFile;
    QString outFile;
};

class TXCommandExcecuterTest : public SandboxFixture
{
protected:
    void SetUp() override
    {
        SandboxFixture::SetUp();
        runner.setDelegate(&delegate);
    }

    // Runs a shell script as the engine; further arguments become $0, $1...
    void runScript(const QString &script, int executionType = TXCommandExcecuter::kPlainRun,
                   const QStringList &scriptArguments = {})
    {
        EngineArgumentsBuilder args;
        args.add("-c").add(script);
        for (const QString &argument : scriptArguments)
            args.add(argument);
        run(args.build(), executionType);
    }

    void run(const EngineArguments &arguments, int executionType = TXCommandExcecuter::kPlainRun,
             const QString &executable = "/bin/sh")
    {
        runner.setCommandString(executable);
        runner.setCommandArguments(arguments);
        runner.performAsynchronousExecutionFor(executionType, spillFolder());
    }

    bool waitForEnd()
    {
        return waitUntil([&] { return delegate.finishedCount > 0; });
    }
    QString spillFolder() const { return root() + "/delete"; }

    QStringList spillFiles() const { return QDir(spillFolder()).entryList(QDir::Files, QDir::Name); }

    RecordingDelegate delegate;
    TXCommandExcecuter runner{nullptr, {100, std::chrono::milliseconds(1), 200, std::chrono::milliseconds(1)}};
};

TEST_F(TXCommandExcecuterTest, OutputAndErrorAreCollectedInOrderAndDecoded)
{
    const struct
    {
        const char *name;
        const char *script;
        QString output;
        QString error;
    } cases[] = {
        {"two streams, slow output", R"(printf 'a\n'; printf 'e1' >&2; sleep 0.1; printf 'b\n'; printf 'e2' >&2)",
         "a\nb\n", "e1e2"},
        {"nothing written", "exit 0", "", ""},
        {"character split between chunks", R"(printf '\303'; sleep 0.2; printf '\251\n')",
         QString::fromUtf8("\xC3\xA9\n"), ""},
        {"Mac Roman bytes", R"(printf 'caf\216\n')", QString::fromUtf8("caf\xC3\xA9\n"), ""},
        {"unterminated last line", R"(printf '[a]\n[b]')", "[a]\n[b]", ""},
        {"crash after some output", R"(printf 'before\n'; kill -SEGV $$)", "before\n", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        delegate.finishedCount = 0;
        runScript(c.script);
        ASSERT_TRUE(waitForEnd());
        spinFor(50);
        EXPECT_EQ(delegate.finishedCount, 1);
        EXPECT_EQ(delegate.output, c.output);
        EXPECT_EQ(delegate.error, c.error);
        EXPECT_TRUE(spillFiles().isEmpty());
    }
}

TEST_F(TXCommandExcecuterTest, ASpillingRunHandsOverCompleteLinesInFiles)
{
    // 12,000 numbered lines of about 12 characters, then an incomplete one.
    runScript(R"(i=0; while [ $i -lt 12000 ]; do echo "[deleted][$i]"; i=$((i+1)); done; printf '[deleted][tail')",
              TXCommandExcecuter::kSpillingRun);
    ASSERT_TRUE(waitForEnd());

    QStringList lines;
    for (const QString &name : spillFiles()) {
        QFile file(spillFolder() + u'/' + name);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        if (!text.isEmpty())
            lines << text.split(u'\n');
    }
    EXPECT_EQ(delegate.spillCount, spillFiles().size());
    EXPECT_GE(delegate.spillCount, 1);
    lines << delegate.output.split(u'\n');
    ASSERT_EQ(lines.size(), 12001);
    for (int i = 0; i < 12000; ++i)
        ASSERT_EQ(lines[i], QStringLiteral("[deleted][%1]").arg(i));
    EXPECT_EQ(lines.last(), "[deleted][tail");
}

TEST_F(TXCommandExcecuterTest, AnElementLineLeftAtASpillKeepsItsLineBreak)
{
    // One long element line without a line break: every spill keeps it, with "\n" after it.
    runScript(R"(printf '<item fname="'; head -c 60000 /dev/zero | tr '\0' 'x'; printf '"/>')",
              TXCommandExcecuter::kSpillingRun);
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(delegate.output, "<item fname=\"" + QString(60000, u'x') + "\"/>\n");
    EXPECT_GE(delegate.spillCount, 1);
}

TEST_F(TXCommandExcecuterTest, StoppingKillsOurChildAndStillEndsTheRun)
{
    runScript("echo started; exec sleep 30");
    ASSERT_TRUE(waitUntil([&] { return runner.outStr() == "started\n"; }));
    EXPECT_TRUE(runner.isRunning());
    runner.pause(true);
    runner.pause(false);
    runner.stopProcess();
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(delegate.output, "started\n");
    EXPECT_FALSE(runner.isRunning());
    runner.stopProcess();  // harmless once our child is gone
    runner.pause(true);
}

// One line of 20 MB in a spilling run is not spilled piece by piece: nothing
// is written until it ends, then one file holds it whole; no file is empty.
TEST_F(TXCommandExcecuterTest, AVeryLongLineIsSpilledOnceWhenItEnds)
{
    constexpr int kLength = 20000000;
    runScript(QString(R"(printf 'first\n'; head -c %1 /dev/zero | tr '\0' 'x'; printf '\nlast')").arg(kLength),
              TXCommandExcecuter::kSpillingRun);
    ASSERT_TRUE(waitUntil([&] { return delegate.finishedCount > 0; }, 60000));
    const QStringList files = spillFiles();
    ASSERT_EQ(files.size(), 2);
    EXPECT_EQ(delegate.spillCount, 2);
    EXPECT_EQ(readText(spillFolder() + u'/' + files[0]), "first");
    const QByteArray line = readText(spillFolder() + u'/' + files[1]);
    EXPECT_EQ(line.size(), kLength);
    EXPECT_EQ(line.count('x'), kLength);
    EXPECT_EQ(delegate.output, "last");
}

// A spilling run needs a folder for its files; without one it never starts.
TEST_F(TXCommandExcecuterTest, ASpillingRunWithoutAFolderFailsBeforeItStarts)
{
    const QString started = root() + "/started";
    TXCommandExcecuter fresh;
    fresh.setDelegate(&delegate);
    fresh.setCommandString("/bin/sh");
    fresh.setCommandArguments(EngineArgumentsBuilder()
                                  .add("-c")
                                  .add(R"(: > "$0"; head -c 200000 /dev/zero | tr '\0' '\n')")
                                  .add(started)
                                  .build());
    fresh.performAsynchronousExecutionFor(TXCommandExcecuter::kSpillingRun, QString());
    EXPECT_EQ(delegate.finishedCount, 0);
    ASSERT_TRUE(waitForEnd());
    EXPECT_TRUE(delegate.error.startsWith("ERROR")) << delegate.error.toStdString();
    EXPECT_TRUE(delegate.error.contains("spill folder")) << delegate.error.toStdString();
    EXPECT_FALSE(QFile::exists(started));
    EXPECT_EQ(delegate.spillCount, 0);
}

TEST_F(TXCommandExcecuterTest, StoppingEndsEverythingTheEngineStarted)
{
    const QString pidFile = root() + "/grandchild";
    runScript(kEngineWithAGrandchild, TXCommandExcecuter::kPlainRun, {pidFile});
    ASSERT_TRUE(waitUntil([&] { return QFile::exists(pidFile); }));
    const qint64 grandchild = readText(pidFile).trimmed().toLongLong();
    ASSERT_GT(grandchild, 0);
    runner.stopProcess();
    ASSERT_TRUE(waitForEnd());
    EXPECT_TRUE(processEnds(grandchild));
}

TEST_F(TXCommandExcecuterTest, ARunThatCannotStartEndsWithAnError)
{
    const struct
    {
        const char *name;
        EngineArguments arguments;
        QString executable;
        const char *reason;
    } cases[] = {
        {"missing executable", EngineArgumentsBuilder().add("--get-quota").build(), root() + "/no-such-engine",
         "no-such-engine"},
        {"missing value", EngineArgumentsBuilder().add("--files-from=", "").build(), "/bin/true", "--files-from="},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        delegate.finishedCount = 0;
        run(c.arguments, 0, c.executable);
        EXPECT_EQ(delegate.finishedCount, 0);  // told later, never inside the call
        ASSERT_TRUE(waitForEnd());
        EXPECT_TRUE(delegate.error.startsWith("ERROR")) << delegate.error.toStdString();
        EXPECT_TRUE(delegate.error.contains(c.reason));
        EXPECT_EQ(delegate.output, "");
    }
}

TEST_F(TXCommandExcecuterTest, CredentialFilesAreReadableByTheEngineAndGoAfterTheRun)
{
    EngineArgumentsBuilder args;
    args.add("-c").add(R"(cat "${0#--password-file=}")").passwordFile("s3cret pass");
    const EngineArguments arguments = args.build();
    const QString credentialFile = arguments.arguments.last().mid(QStringLiteral("--password-file=").size());
    run(arguments);
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(delegate.output, "s3cret pass");
    EXPECT_FALSE(runner.commandArguments().join(u' ').contains("s3cret"));
    // The test's own copy of the vector still holds the files; the runner let go of them.
    EXPECT_TRUE(QFile::exists(credentialFile));
}

TEST_F(TXCommandExcecuterTest, AnUploadRunReturnsTheEngineErrorFileAndRemovesBothFiles)
{
    QDir().mkpath(applicationFolder());
    delegate.errorFile = applicationFolder() + "/upload-error.txt";
    delegate.outFile = applicationFolder() + "/upload-out.txt";
    const struct
    {
        const char *name;
        const char *script;
        QString error;
    } cases[] = {
        {"error text", R"(printf 'ok' > "$1"; printf 'upload failed' > "$0")", "upload failed"},
        {"empty error file", R"(printf 'ok' > "$1"; : > "$0")", QString()},
        {"no files at all", "exit 0", QString()},
        {"an engine that fails without error text", "exit 3", "ERROR: /bin/sh ended with status 3"},
        {"an engine that dies", "kill -9 $$", "ERROR: /bin/sh was stopped before it ended"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        runner.setCommandString("/bin/sh");
        runner.setCommandArguments(
            EngineArgumentsBuilder().add("-c").add(c.script).add(delegate.errorFile).add(delegate.outFile).build());
        QString error = "stale";
        runner.executeThumbnailBackup(&error);
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(error.isNull(), c.error.isNull());
        EXPECT_FALSE(QFile::exists(delegate.errorFile));
        EXPECT_FALSE(QFile::exists(delegate.outFile));
    }
}

TEST_F(TXCommandExcecuterTest, AStopBeforeAnUploadRunsChildIsKnownStillEndsIt)
{
    delegate.errorFile = root() + "/upload-error.txt";
    runner.setCommandString("/bin/sh");
    runner.setCommandArguments(EngineArgumentsBuilder().add("-c").add("sleep 60").build());
    runner.stopProcess();
    QString error;
    runner.executeThumbnailBackup(&error);
    EXPECT_EQ(error, "ERROR: /bin/sh was stopped before it ended");
}

}  // namespace
