#include "EngineTestSupport.h"
#include "common/account/User.h"
#include "common/texts/QLLocalizedString.h"
#include "common/transfer/FileTransferData.h"
#include "engine/command/EngineArgumentsBuilder.h"
#include "engine/command/EngineCommandLines.h"
#include "engine/command/TXCommandDelegate.h"
#include "engine/command/TXCommandExcecuter.h"
#include "engine/command/TarnixProcessLib.h"
#include "engine/command/TarnixProcessLibController.h"
#include "engine/parsing/QLSYNCParser.h"
#include "platform/PropertyList.h"
#include "support/SandboxFixture.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>

// Runs of the stand-in engine through the runner and the session wrapper, as
// the operations make them. The wrapper runs a backup of three files, under
// the scenarios the stand-in offers for troublesome engines.

namespace {

// Parses the delivered lines as a session does and keeps the completed files.
class SessionController : public TarnixProcessLibController
{
public:
    void updateProgress(const QString &lines, TarnixProcessLib *) override
    {
        ++progressCalls;
        EXPECT_TRUE(lines.endsWith(u'\n'));
        for (const QString &line : lines.split(u'\n', Qt::SkipEmptyParts)) {
            ++lineCount;
            FileTransferData record;
            if (QLSYNCParser::ParseLineStr(line, record, lineType) == 0 && record.per() == "100")
                completed << record.fname();
        }
    }
    void getError(const QString &text, TarnixProcessLib *) override { errors += text; }
    void processFinishedOfEngine(TarnixProcessLib *) override { ++finishedCount; }

    int lineType = 0;
    int progressCalls = 0;
    int lineCount = 0;
    QStringList completed;
    QString errors;
    int finishedCount = 0;
};

class QuotaDelegate : public TXCommandDelegate
{
public:
    void ruvoTaskFinished(TXCommandExcecuter *runner) override
    {
        ++finishedCount;
        error = runner->errorStr();
        output = runner->outStr();
    }
    int finishedCount = 0;
    QString error;
    QString output;
};

constexpr TarnixProcessLibTimings kQuickEngineTimings{std::chrono::milliseconds(40), std::chrono::milliseconds(100),
                                                      std::chrono::milliseconds(50)};

class StandInEngineTest : public SandboxFixture
{
protected:
    void SetUp() override
    {
        SandboxFixture::SetUp();
        QDir().mkpath(dataRoot());
        QDir().mkpath(operation());
        for (const QString &name : fileNames()) {
            writeText(localFolder() + u'/' + name, QByteArray(2000, 'x'));
            listLines << localFolder() + u'/' + name;
        }
        writeText(operation() + "/SourceA", listLines.join(u'\n').toUtf8());
        engine.setOutDataText(operation() + "/OutData_0.txt");
        engine.setErrorDataText(operation() + "/ErrorData_0.txt");
    }

    static QStringList fileNames() { return {QString::fromUtf8("caf\xC3\xA9.txt"), "b c.txt", "plain.txt"}; }
    QString localFolder() const { return root() + "/local/Docs"; }
    QString dataRoot() const { return volumes() + "/Drive/TarnixVidezud/alice/Office"; }
    QString operation() const { return applicationFolder() + "/operation"; }
    static QString executable() { return QLLocalizedString("ExecuterPathRuvo"); }

    // An account as the quota controller has it.
    static User quotaAccount()
    {
        User account;
        account.setUserName("Alice");
        account.setRuvoServerIP("10.0.0.1");
        account.setPassword("secret");
        account.setPrivateKey("key");
        account.setPort("--port=443");
        return account;
    }

    void setScenario(const QVariantMap &scenario)
    {
        const QString path = root() + "/scenario.plist";
        ASSERT_TRUE(PropertyList::write(path, scenario));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("TXRUVO_SCENARIO", path);
        engine.setEnvironment(environment);
    }

    // The backup vector of a session's first launch in backup mode.
    EngineArguments backupVector(const QString &password = "secret") const
    {
        const QString o = operation();
        return EngineArgumentsBuilder()
            .add(executable())
            .add("--o=", o + "/OutData_0.txt")
            .add("--e=", o + "/ErrorData_0.txt")
            .add("--bw-file=", o + "/QLThrottle")
            .add("--relative")
            .add("--xml-output")
            .add("--portable")
            .add("--portable-dest=", dataRoot())
            .add("--temp=", o)
            .port("--port=443")
            .privateKey("TXE1:key")
            .passwordFile(password)
            .add("--chk-cancel=", o + "/intCancel")
            .add("--files-from=", o + "/SourceA")
            .add("/")
            .remote("alice", "10.0.0.1", dataRoot())
            .build();
    }

    bool waitForFinish()
    {
        return waitUntil([&] { return controller.finishedCount > 0; });
    }

    QStringList listLines;
    SessionController controller;
    TarnixProcessLib engine{&controller, nullptr, kQuickEngineTimings};
};

TEST_F(StandInEngineTest, EveryFileArrivesOnceWhateverTheOutputLooksLike)
{
    const struct
    {
        const char *name;
        QVariantMap scenario;
        int lineType;
        int minimumLines;
    } cases[] = {
        {"plain", {}, 0, 3},
        {"slow output", {{"lineDelayMs", 120}}, 0, 3},
        {"characters cut between ticks", {{"splitWrites", true}, {"splitDelayMs", 120}}, 0, 3},
        {"Mac Roman names", {{"macRomanNames", true}}, 0, 3},
        {"no line break after the last line", {{"omitFinalNewline", true}}, 0, 3},
        {"large output", {{"progressLinesPerFile", 3000}}, 0, 3 * 3001},
        {"bracketed columns", {{"lineForm", "bracket"}}, 0, 3},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        controller = SessionController();
        controller.lineType = c.lineType;
        QDir(dataRoot()).removeRecursively();
        QDir().mkpath(dataRoot());
        setScenario(c.scenario);

        engine.setArguments(backupVector());
        engine.startProcess();
        ASSERT_TRUE(waitForFinish());
        spinFor(int(kQuickEngineTimings.finishNotice.count()) * 2);

        EXPECT_EQ(controller.finishedCount, 1);
        EXPECT_EQ(controller.errors, "");
        EXPECT_EQ(engine.terminationStatus(), 0);
        EXPECT_GE(controller.lineCount, c.minimumLines);
        QStringList completed = controller.completed;
        completed.sort();
        QStringList expected = listLines;
        expected.sort();
        EXPECT_EQ(completed, expected) << completed.join(" | ").toStdString();
        EXPECT_FALSE(QFile::exists(operation() + "/OutData_0.txt"));
        EXPECT_FALSE(QFile::exists(operation() + "/ErrorData_0.txt"));
    }
}

TEST_F(StandInEngineTest, ACrashedOrStoppedEngineStillFinishesItsRun)
{
    const struct
    {
        const char *name;
        const char *stopMode;
        bool stopIt;
    } cases[] = {
        {"crash after the first file", "crash", false},
        {"hang after the first file, then stopped", "hang", true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        controller = SessionController();
        setScenario({{"stopAfterFiles", 1}, {"stopMode", c.stopMode}});
        engine.setArguments(backupVector());
        engine.startProcess();
        if (c.stopIt) {
            ASSERT_TRUE(waitUntil([&] { return controller.completed.size() == 1; }));
            EXPECT_TRUE(engine.isRunning());
            engine.stopProcess();
        }
        ASSERT_TRUE(waitForFinish());
        EXPECT_EQ(controller.completed, QStringList{listLines.first()});
        EXPECT_NE(engine.terminationStatus(), 0);
        EXPECT_FALSE(engine.isRunning());
    }
}

TEST_F(StandInEngineTest, CredentialsTravelInPrivateFilesThatGoAfterTheRun)
{
    const struct
    {
        const char *name;
        QString password;
        const char *error;
    } cases[] = {
        {"matching", "secret", ""},
        {"wrong password", "guess", "@ERROR: password mismatch"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        controller = SessionController();
        setScenario({{"password", "secret"}, {"privateKey", "TXE1:key"}});
        EngineArguments arguments = backupVector(c.password);
        const QString passwordArgument = arguments.arguments.filter("--password-file=").value(0);
        const QString passwordFile = passwordArgument.mid(QStringLiteral("--password-file=").size());
        ASSERT_TRUE(QFile::exists(passwordFile));
        engine.setArguments(std::move(arguments));
        engine.startProcess();
        ASSERT_TRUE(waitForFinish());
        EXPECT_EQ(controller.errors.left(qstrlen(c.error)), c.error) << controller.errors.toStdString();
        EXPECT_EQ(controller.completed.isEmpty(), *c.error != 0);
        EXPECT_FALSE(QFile::exists(passwordFile));
    }
}

TEST_F(StandInEngineTest, TheRunnerCollectsTheEngineErrorAndLetsGoOfTheCredentials)
{
    const User account = quotaAccount();
    EngineArguments arguments = EngineCommandLines::quota(account, "--proxy=", true);
    const QString passwordFile = arguments.arguments[3].mid(QStringLiteral("--password-file=").size());

    QuotaDelegate delegate;
    TXCommandExcecuter runner;
    runner.setDelegate(&delegate);
    runner.setCommandString(executable());
    runner.setCommandArguments(std::move(arguments));
    runner.performAsynchronousExecutionFor(TXCommandExcecuter::kPlainRun, QString());
    ASSERT_TRUE(waitUntil([&] { return delegate.finishedCount > 0; }));
    EXPECT_TRUE(delegate.error.contains("txruvo error: --quota-fromfile is not supported"))
        << delegate.error.toStdString();
    EXPECT_EQ(runner.outStr(), "");
    EXPECT_FALSE(QFile::exists(passwordFile));
}

// The proxy's user and password reach the engine in a private file: the
// engine's command line, as every local user reads it in /proc, holds neither,
// and the stand-in still gets the proxy setting.
TEST_F(StandInEngineTest, TheProxyPasswordStaysOffTheEngineCommandLine)
{
    const User account = quotaAccount();
    const QString setting = "proxyuser:pr%40xy-pass@px.example:8080";

    QuotaDelegate delegate;
    TXCommandExcecuter runner;
    runner.setDelegate(&delegate);
    const auto runQuota = [&](const QString &engine, const QStringList &before) {
        EngineArguments arguments = EngineCommandLines::quota(account, "--proxy=" + setting, false);
        arguments.arguments = before + arguments.arguments;
        runner.setCommandString(engine);
        runner.setCommandArguments(std::move(arguments));
        delegate.finishedCount = 0;
        runner.performAsynchronousExecutionFor(TXCommandExcecuter::kPlainRun, QString());
        return waitUntil([&] { return delegate.finishedCount > 0; });
    };

    ASSERT_TRUE(runQuota("/bin/sh", {"-c", R"(tr '\0' '\n' < /proc/$$/cmdline)"}));
    EXPECT_TRUE(delegate.output.contains("--get-quota")) << delegate.output.toStdString();
    EXPECT_TRUE(delegate.output.contains("--proxy-file=")) << delegate.output.toStdString();
    EXPECT_FALSE(delegate.output.contains("pr%40xy-pass") || delegate.output.contains("proxyuser"))
        << delegate.output.toStdString();

    const QString scenario = root() + "/scenario.plist";
    qputenv("TXRUVO_SCENARIO", scenario.toUtf8());
    const auto noScenarioAfterwards = qScopeGuard([] { qunsetenv("TXRUVO_SCENARIO"); });
    const struct
    {
        const char *name;
        QString expected;
        QString error;
    } cases[] = {
        {"the proxy the account set", setting, ""},
        {"another proxy", "other:pass@px.example:8080", "@ERROR: proxy authentication failed"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(PropertyList::write(scenario, QVariantMap{{"proxy", c.expected}}));
        ASSERT_TRUE(runQuota(executable(), {}));
        EXPECT_EQ(delegate.error.left(c.error.size()), c.error) << delegate.error.toStdString();
        EXPECT_EQ(delegate.output.startsWith("<quota"), c.error.isEmpty()) << delegate.output.toStdString();
    }
}

}  // namespace
