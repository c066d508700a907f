#include "EngineHarness.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

// The quota, version list and bandwidth test: runs that answer on standard output.
class AnswerOperationsTest : public EngineHarness
{
protected:
    void SetUp() override
    {
        EngineHarness::SetUp();
        qputenv("TMPDIR", scratch().toUtf8());
        QDir().mkpath(scratch());
    }
    void TearDown() override
    {
        qunsetenv("TMPDIR");
        EngineHarness::TearDown();
    }

    QString scratch() const { return root() + "/tmp"; }

    // Backs the file up with the content; answers its server path "/<folder id>/<enc name>".
    QString backUp(const QString &path, const QByteArray &content)
    {
        writeText(source(path), content);
        writeList({source(path)});
        const Run result = run(backupVector());
        EXPECT_EQ(result.exitCode, 0) << qPrintable(result.errors);
        const auto line = result.completed().value(source(path));
        return '/' + line["folder_id"] + '/' + line["enc_name"];
    }

    QStringList credentials() const
    {
        return {"--password-file=" + operation() + "/password", "--pvt-key=" + operation() + "/key"};
    }
    QStringList quotaVector() const
    {
        return QStringList{engine(), "--get-quota", "--timeout=30", "--port=443"} + credentials() +
               QStringList{"--xml-output", "--proxy=", "alice@10.0.0.1::home/"};
    }
    // The version list of the item, remote path as an account with the default key or its own key names it.
    QStringList versionVector(const QString &serverPath, bool ownKey = false) const
    {
        return QStringList{engine(),        "--version-info", "--no-relative", "--encode",
                           "--enc-opt",     "--mask-name",    "--portable",    "--portable-dest=" + drive(),
                           "--timeout=900", "--proxy=",       "--xml-output",  "--port=443"} +
               credentials() + QStringList{"alice@10.0.0.1::home" + (ownKey ? drive() : QString()) + serverPath};
    }
    QStringList bandwidthVector(bool upload) const
    {
        return QStringList{engine(), "--xml-output", upload ? "--trf-uprate" : "--trf-downrate"} + credentials() +
               QStringList{"Alice@10.0.0.1::home/"};
    }

    // The answer lines of a run, attributes decoded.
    static QList<QHash<QString, QString>> answers(const Run &result)
    {
        Run answer = result;
        answer.output = result.stdOut;
        return answer.lines();
    }
};

TEST_F(AnswerOperationsTest, QuotaCountsTheAccountsItemsOnEveryDriveAndNothingElse)
{
    backUp("/a.txt", "alpha");
    backUp("/a.txt", "alpha, longer");  // the earlier copy becomes a version, which does not count
    backUp("/Docs/b.txt", "beta");
    writeText(volumes() + "/Second/QuellonVidezud/ALICE/Office/c.bin", QByteArray(100, 'c'));
    writeText(volumes() + "/Second/QuellonVidezud/ALICE/Office/.txruvo-folder_.chk", "folder_id=12ab");
    writeText(volumes() + "/Second/TarnixVidezud/bob/Office/d.bin", QByteArray(1000, 'd'));
    writeText(volumes() + "/Second/TarnixVidezud/bob/Office/.txruvo-folder_.chk", "folder_id=34cd");
    writeText(userRoot() + "/.index/alice.qlenc", QByteArray(5000, 'i'));  // the client's index, no stored data

    const Run plain = run(quotaVector());
    EXPECT_EQ(plain.exitCode, 0);
    EXPECT_EQ(plain.stdOut, "<quota usedquota=\"117\" totalquota=\"10737418240\" filecount=\"3\"/>\n");

    setScenario({{"accountSize", 5000}, {"lineForm", "bracket"}});
    EXPECT_EQ(run(quotaVector()).stdOut, "[117][3]\n");
    setScenario({{"breakElementLines", true}});
    EXPECT_EQ(run(quotaVector()).stdOut, "<quota usedquota=\"117\"\ntotalquota=\"10737418240\" filecount=\"3\"/>\n");
}

TEST_F(AnswerOperationsTest, ScenarioErrorsCredentialsAndEarlyEndsReachTheErrorStream)
{
    struct Case
    {
        const char *name;
        QVariantMap scenario;
        int exitCode;
        QString errorStart;
        bool answered;
    };
    const Case cases[] = {
        {"error text beside the answer", {{"errorText", "ERROR: busy"}}, 0, "ERROR: busy\n", true},
        {"under maintenance",
         {{"errorText", "account is under maintenance"}, {"stopMode", "exit"}},
         1,
         "account is under maintenance\n",
         false},
        {"wrong password", {{"password", "other"}}, 1, "@ERROR: password mismatch (", false},
        {"wrong key", {{"privateKey", "other"}}, 1, "encryption verification failed (", false},
    };
    for (const Case &c : cases) {
        for (const QStringList &vector : {quotaVector(), bandwidthVector(true)}) {
            SCOPED_TRACE(std::string(c.name) + " " + vector.at(2).toStdString());
            setScenario(c.scenario);
            const Run result = run(vector);
            EXPECT_EQ(result.exitCode, c.exitCode);
            EXPECT_TRUE(QString::fromUtf8(result.stdErr).startsWith(c.errorStart)) << result.stdErr.toStdString();
            EXPECT_EQ(!result.stdOut.isEmpty(), c.answered);
        }
    }
    setScenario({{"stopMode", "crash"}});
    const Run crashed = run(quotaVector());
    EXPECT_EQ(crashed.exitStatus, QProcess::CrashExit);
    EXPECT_TRUE(crashed.stdOut.isEmpty());
}

TEST_F(AnswerOperationsTest, VersionListNamesEveryStoredVersionAndTheCurrentOne)
{
    const QString serverPath = backUp("/Docs/a.txt", "one");
    backUp("/Docs/a.txt", "two, longer");
    backUp("/Docs/a.txt", "three, longer still");
    const QString currentTime =
        QFileInfo(drive() + source("/Docs/a.txt")).lastModified().toUTC().toString("yyyy-MM-dd HH:mm:ss +0000");
    for (bool ownKey : {false, true}) {
        SCOPED_TRACE(ownKey ? "own key" : "default key");
        const Run result = run(versionVector(serverPath, ownKey));
        EXPECT_EQ(result.exitCode, 0) << result.stdErr.toStdString();
        const auto lines = answers(result);
        ASSERT_EQ(lines.size(), 3);
        QStringList versions;
        for (const auto &line : lines)
            versions << line["ver"] + ": " + line["size"];
        EXPECT_EQ(versions, QStringList({"1: 3", "2: 11", "3: 19"}));
        EXPECT_EQ(lines[2]["mod_time"], currentTime);
    }
    setScenario({{"lineForm", "bracket"}});
    EXPECT_TRUE(run(versionVector(serverPath)).stdOut.endsWith("][19][3]\n"));
}

TEST_F(AnswerOperationsTest, VersionListOfSomethingThatIsNoStoredItemFails)
{
    const QString serverPath = backUp("/a.txt", "alpha");
    QStringList noDrive = versionVector(serverPath);
    noDrive.replaceInStrings(QRegularExpression("^--portable-dest=.*"), "--portable-dest=" + root() + "/gone");
    const struct
    {
        const char *name;
        QStringList vector;
        QString error;
    } cases[] = {
        {"unknown item", versionVector("/12ab/6e6f6e65"), "txruvo error: No such file or directory (/12ab/6e6f6e65)"},
        {"no item path", versionVector("/just-one-part"), "txruvo error: invalid path (not a stored item"},
        {"no drive", noDrive, "txruvo error: device is not connected"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const Run result = run(c.vector);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_TRUE(QString::fromUtf8(result.stdErr).startsWith(c.error)) << result.stdErr.toStdString();
        EXPECT_TRUE(result.stdOut.isEmpty());
    }
}

TEST_F(AnswerOperationsTest, BandwidthTestReportsARateAndLeavesNoScratchFile)
{
    static const QRegularExpression rate("^\\d+\\.\\d\\dKB/s$");
    for (bool upload : {true, false}) {
        SCOPED_TRACE(upload ? "upload" : "download");
        const Run result = run(bandwidthVector(upload));
        EXPECT_EQ(result.exitCode, 0) << result.stdErr.toStdString();
        const auto lines = answers(result);
        ASSERT_EQ(lines.size(), 1);
        EXPECT_EQ(lines[0]["trf_type"], upload ? "upload" : "download");
        EXPECT_TRUE(rate.match(lines[0]["trf_rate"]).hasMatch()) << lines[0]["trf_rate"].toStdString();
        EXPECT_GT(lines[0]["trf_rate"].chopped(4).toDouble(), 0);
    }
    EXPECT_TRUE(QDir(scratch()).isEmpty());
    setScenario({{"transferRate", 1024}});
    EXPECT_EQ(run(bandwidthVector(true)).stdOut, "<transfer trf_type=\"upload\" trf_rate=\"1024.00KB/s\"/>\n");
}

// An item is put back from its newest version slot only when its own place is empty; every
// line that can be neither moved nor found in place gets an error line, and the run goes on.
TEST_F(AnswerOperationsTest, MoveToOriginalPutsBackWhatIsMissingAndReportsEveryLine)
{
    backUp("/Docs/a.txt", "one");
    backUp("/Docs/a.txt", "two");
    backUp("/Docs/b.txt", "bee");
    const QString a = drive() + source("/Docs/a.txt");
    const QString slot2 = drive() + "/alice.ver" + source("/Docs/a.txt") + ".qlvn002";
    ASSERT_TRUE(QFile::rename(a, slot2));
    QDir().mkpath(drive() + source("/Docs/folder"));
    const QString b = drive() + source("/Docs/b.txt");
    writeList(
        {a, b, drive() + source("/Docs/folder"), drive() + source("/Gone/c.txt"), "relative/x", drive() + "/../x"},
        "MoveFiles.txt");
    const QStringList vector =
        QStringList{engine(),       "--moveto-original", "--no-relative", "--timeout=900",
                    "--xml-output", "--proxy=",          "--port=443",    "--e=" + operation() + "/errorM.txt"} +
        credentials() + QStringList{"--files-from=" + operation() + "/MoveFiles.txt", "alice@10.0.0.1::home/"};
    const Run result = run(vector);
    EXPECT_EQ(result.exitCode, 0) << result.stdErr.toStdString();
    EXPECT_EQ(QString::fromUtf8(result.stdOut), "<item op=\"moved\" fname=\"" + a +
                                                    "\"/>\n<item op=\"in_place\" fname=\"" + b +
                                                    "\"/>\n<summary tot_items_moved=\"1\"/>\n");
    EXPECT_EQ(stored(a), "two");
    EXPECT_FALSE(QFile::exists(slot2));
    EXPECT_EQ(QString::fromUtf8(readText(operation() + "/errorM.txt")),
              "IOERROR: [" + drive() + source("/Docs/folder") +
                  "], : Operation not permitted (not a stored item)\n"
                  "IOERROR: [" +
                  drive() + source("/Gone/c.txt") +
                  "], : No such file or directory\n"
                  "IOERROR: [relative/x], : Operation not permitted (not an absolute path)\n"
                  "IOERROR: [" +
                  drive() + "/../x], : Operation not permitted (. or .. in the path)\n");
    // Run again: everything is in place, nothing moves.
    EXPECT_TRUE(run(vector).stdOut.startsWith("<item op=\"in_place\" fname=\"" + a.toUtf8()));
    // Without its list the run ends.
    QFile::remove(operation() + "/MoveFiles.txt");
    const Run noList = run(vector);
    EXPECT_EQ(noList.exitCode, 1);
    EXPECT_TRUE(noList.stdErr.startsWith("txruvo error: invalid source path for operation"))
        << noList.stdErr.toStdString();
}

}  // namespace
