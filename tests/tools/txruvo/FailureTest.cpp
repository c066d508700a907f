#include "EngineHarness.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcessEnvironment>

#include "engine/EngineTestSupport.h"
#include "platform/ChildOutputDecoder.h"

namespace {

class FailureTest : public EngineHarness
{
protected:
    void SetUp() override
    {
        EngineHarness::SetUp();
        a = source("/a.txt");
        writeText(a, "alpha");
        writeList({a});
    }

    // Undoes what a case of a table broke.
    void arrangeFresh()
    {
        QDir().mkpath(drive());
        writeList({a});
        QFile::setPermissions(operation() + "/password", QFile::ReadOwner | QFile::WriteOwner);
        mScenarioPath.clear();
    }

    QString a;
};

TEST_F(FailureTest, RunEndingFailuresUseThePhrasesTheClientRecognises)
{
    struct Case
    {
        const char *name;
        std::function<void(QStringList &)> arrange;
        QString phrase;
    };
    const Case cases[] = {
        {"missing drive", [this](QStringList &) { QDir(drive()).removeRecursively(); }, "device is not connected"},
        {"missing list", [this](QStringList &) { QFile::remove(operation() + "/SourceA"); },
         "invalid source path for operation"},
        {"wrong password",
         [this](QStringList &) {
             setScenario({{"password", "other"}});
         },
         "@ERROR: password mismatch"},
        {"encoded password accepted, wrong key",
         [this](QStringList &) {
             setScenario({{"password", "secret"}, {"privateKey", "other"}});
         },
         "encryption verification failed"},
        {"credential readable by others",
         [this](QStringList &) {
             QFile::setPermissions(operation() + "/password", QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther);
         },
         "password mismatch"},
        {"no data root",
         [](QStringList &v) { v.removeIf([](const QString &s) { return s.startsWith("--portable-dest="); }); },
         "txruvo error: invalid path"},
    };
    for (const Case &c : cases) {
        arrangeFresh();
        QStringList vector = backupVector();
        c.arrange(vector);
        const Run result = run(vector);
        EXPECT_NE(result.exitCode, 0) << c.name;
        EXPECT_TRUE(result.errors.contains(c.phrase)) << c.name << ": " << qPrintable(result.errors);
        EXPECT_TRUE(result.errors.endsWith('\n')) << c.name;
        EXPECT_TRUE(result.lines().isEmpty()) << c.name;
    }
}

TEST_F(FailureTest, FullDriveStopsTheRunAndKeepsWhatWasStored)
{
    ASSERT_EQ(run(backupVector()).exitCode, 0);
    writeText(a, QByteArray(3 << 20, 'n'));
    setScenario({{"driveCapacity", 1 << 20}});
    const Run result = run(backupVector());
    EXPECT_NE(result.exitCode, 0);
    EXPECT_EQ(result.errors, "txruvo error: error in file write (No space left on device)\n");
    EXPECT_EQ(stored(drive() + a), "alpha");
    EXPECT_EQ(QDir(drive() + source(QString())).entryList({"*.part"}, QDir::Files | QDir::Hidden).size(), 0);
}

TEST_F(FailureTest, ScenarioErrorsAndPerFileFailuresReachTheErrorFile)
{
    const QString b = source("/b.txt");
    writeText(b, "bee");
    writeList({a, b});
    setScenario({{"errorText", "account is under maintenance"}, {"failFiles", QVariantMap{{b, "Permission denied"}}}});
    const Run result = run(backupVector());
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.errors, "account is under maintenance\nIOERROR: [" + b + "], : Permission denied\n");
    EXPECT_EQ(result.lines().size(), 1);
}

TEST_F(FailureTest, ScenarioEndsTheRunByExitCrashOrHang)
{
    writeList({a, source("/a.txt")});
    setScenario({{"stopMode", "exit"}, {"stopAfterFiles", 1}, {"exitCode", 7}});
    Run result = run(backupVector());
    EXPECT_EQ(result.exitCode, 7);
    EXPECT_EQ(result.lines().size(), 1);

    setScenario({{"stopMode", "crash"}});
    result = run(backupVector());
    EXPECT_EQ(result.exitStatus, QProcess::CrashExit);

    setScenario({{"stopMode", "hang"}});
    const std::unique_ptr<QProcess> process = start(backupVector());
    EXPECT_FALSE(process->waitForFinished(500));
    process->kill();
    EXPECT_TRUE(process->waitForFinished());
}

TEST_F(FailureTest, ScenarioOutputOddities)
{
    const QString name = source("/café.txt");
    writeText(name, "x");
    writeList({name});

    setScenario({{"progressLinesPerFile", 400}});
    Run result = run(backupVector());
    EXPECT_GT(result.output.size(), 51200);
    EXPECT_EQ(result.lines().size(), 401);

    setScenario({{"macRomanNames", true}});
    result = run(backupVector());
    EXPECT_FALSE(QString::fromUtf8(result.output).contains(name));
    EXPECT_TRUE(ChildOutputDecoder::decodeChildOutput(result.output).contains(name));

    setScenario({{"omitFinalNewline", true}});
    result = run(backupVector());
    EXPECT_TRUE(result.output.endsWith("/>"));

    setScenario({{"lineForm", "bracket"}});
    result = run(backupVector());
    EXPECT_TRUE(result.output.startsWith('[')) << result.output.constData();
    EXPECT_EQ(result.output.count(']'), 13);

    // A line cut inside "é": the first write alone is not valid UTF-8. The output of the runs
    // above goes first, so that what is read is this run's first write, however late it starts.
    setScenario({{"splitWrites", true}, {"splitDelayMs", 600}});
    const QString outputFile = operation() + "/OutData_0.txt";
    QFile::remove(outputFile);
    const std::unique_ptr<QProcess> process = start(backupVector());
    EXPECT_TRUE(waitUntil([&] { return !readText(outputFile).isEmpty(); }, 20000));
    const QByteArray half = readText(outputFile);
    result = collect(*process);
    EXPECT_FALSE(half.isEmpty());
    EXPECT_FALSE(half.contains('\n'));
    EXPECT_TRUE(result.output.startsWith(half));
    EXPECT_EQ(result.lines().value(0).value("fname"), name);
}

TEST_F(FailureTest, ArgvLogRecordsEveryVector)
{
    const QString log = root() + "/argv.log";
    qputenv("TXRUVO_ARGV_LOG", log.toUtf8());
    const QStringList vector = backupVector();
    run(vector);
    run(vector);
    qunsetenv("TXRUVO_ARGV_LOG");
    const QList<QByteArray> lines = readText(log).split('\n');
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(QJsonDocument::fromJson(lines[0]).object().value("argv").toVariant().toStringList(), vector);
}

}  // namespace
