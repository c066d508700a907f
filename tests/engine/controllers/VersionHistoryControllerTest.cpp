#include "engine/controllers/ControllerTestSupport.h"

#include "engine/controllers/ControllerTexts.h"
#include "engine/controllers/RuvoVersionHistoryController.h"
#include "engine/controllers/RuvoVersionHistoryControllerDelegateProtocol.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>

namespace {

// What one version list told its delegate.
struct Outcome
{
    QStringList callbacks;
    QList<FileSystemNode> versions;
    QString error;
};

class VersionRecorder : public RuvoVersionHistoryControllerDelegateProtocol
{
public:
    void RuvoVersionHistoryDidFinishSuccessfully(RuvoVersionHistoryController *,
                                                 const QList<FileSystemNode> &rows) override
    {
        versions = rows;
        log.add("finish");
    }
    void RuvoVersionHistoryDidFailWithError(const QString &text, RuvoVersionHistoryController *) override
    {
        error = text;
        log.add("fail");
    }

    CallbackLog log;
    QList<FileSystemNode> versions;
    QString error;
};

// "<version>: <size in bytes> (<size text>)" of each row.
QStringList describe(const QList<FileSystemNode> &versions)
{
    QStringList rows;
    for (const FileSystemNode &row : versions)
        rows << QStringLiteral("%1: %2 (%3)").arg(row.version).arg(row.sizeInBytes).arg(row.size);
    return rows;
}

class VersionHistoryControllerTest : public StandInAccountFixture
{
protected:
    void SetUp() override
    {
        StandInAccountFixture::SetUp();
        // Three backups of a changing file: two earlier versions and the current one.
        for (int size : {10, 20, 30}) {
            writeText(document(), QByteArray(size, 'd'));
            backUp();
        }
    }

    QString dataRoot() const { return volumes() + "/Drive/TarnixVidezud/Ann/Office"; }
    QString document() const { return root() + "/local/doc.txt"; }

    // One backup run of the stand-in engine; keeps the server path it reports.
    void backUp()
    {
        const QString operation = root() + "/operation";
        writeText(operation + "/SourceA", document().toUtf8());
        QDir().mkpath(dataRoot());
        QProcess engineRun;
        engineRun.start(engine(), {"--o=" + operation + "/out", "--e=" + operation + "/err", "--relative",
                                   "--xml-output", "--portable", "--portable-dest=" + dataRoot(),
                                   "--files-from=" + operation + "/SourceA", "/", "ann@10.0.0.1::home" + dataRoot()});
        ASSERT_TRUE(engineRun.waitForFinished());
        ASSERT_EQ(engineRun.exitCode(), 0) << readText(operation + "/err").toStdString();
        const QString line = QString::fromUtf8(readText(operation + "/out"));
        const auto folderId = QRegularExpression(" folder_id=\"([^\"]+)\"").match(line);
        const auto encName = QRegularExpression(" enc_name=\"([^\"]+)\"").match(line);
        ASSERT_TRUE(folderId.hasMatch() && encName.hasMatch()) << line.toStdString();
        serverPath = "/" + folderId.captured(1) + "/" + encName.captured(1);
    }

    Outcome list(const User &user, const QString &path)
    {
        VersionRecorder recorder;
        RuvoVersionHistoryController controller;
        controller.userInfo() = user;
        controller.setExecutorPath(engine());
        controller.setFilePath(path);
        controller.setDestination(dataRoot());
        controller.setMpcName("/Office");
        controller.setDelegate(&recorder);
        controller.StartVersionHistory();
        EXPECT_TRUE(recorder.log.waitFor(1));
        spinFor(50);
        return {recorder.log.entries(), recorder.versions, recorder.error};
    }

    QString serverPath;
};

TEST_F(VersionHistoryControllerTest, EveryStoredVersionBecomesARowWithOrWithoutTheAccountsOwnKey)
{
    logVectors();
    User ownKey = account();
    ownKey.setISDefaultKey(false);
    for (const User &user : {account(), ownKey}) {
        SCOPED_TRACE(user.isDefaultKey() ? "default key" : "own key");
        const Outcome outcome = list(user, serverPath);
        EXPECT_EQ(outcome.callbacks, QStringList{"finish (main)"});
        EXPECT_EQ(describe(outcome.versions), QStringList({"1: 10 (10 B)", "2: 20 (20 B)", "3: 30 (30 B)"}));
        for (const FileSystemNode &row : outcome.versions) {
            EXPECT_EQ(row.path, serverPath);
            EXPECT_TRUE(row.isAFile);
            EXPECT_EQ(row.mpcName, "/Office");
            EXPECT_TRUE(QRegularExpression("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d \\+0000$")
                            .match(row.modificationDate)
                            .hasMatch())
                << row.modificationDate.toStdString();
        }
        // The current version carries the file's own time.
        ASSERT_EQ(outcome.versions.size(), 3);
        EXPECT_EQ(outcome.versions.at(2).modificationDate,
                  QFileInfo(document()).lastModified().toUTC().toString("yyyy-MM-dd HH:mm:ss +0000"));
    }
    // The engine's own log: 13 arguments with the default key, 14 with the own key (plus the executable).
    QList<int> counts;
    for (const QString &line : loggedVectors())
        counts << QJsonDocument::fromJson(line.toUtf8()).object().value("argv").toArray().size();
    EXPECT_EQ(counts, QList<int>({14, 15}));
}

TEST_F(VersionHistoryControllerTest, OutputWinsOverErrorTextAndNoOutputFailsWithTheEnginesReason)
{
    setScenario({{"errorText", "note: the link is slow"}});
    Outcome outcome = list(account(), serverPath);
    EXPECT_EQ(outcome.callbacks, QStringList{"finish (main)"});
    EXPECT_EQ(outcome.versions.size(), 3);

    const struct
    {
        const char *name;
        QVariantMap scenario;
        QString path;
        QString error;  // the failure text starts with it
    } failures[] = {
        {"no such item", {}, "/12ab/6e6f6e65", "txruvo error: No such file or directory"},
        {"wrong password", {{"password", "other"}}, serverPath, "@ERROR: password mismatch"},
        {"died without a word", {{"stopMode", "crash"}}, serverPath, ControllerTexts::kNoEngineAnswer},
    };
    for (const auto &c : failures) {
        SCOPED_TRACE(c.name);
        setScenario(c.scenario);
        outcome = list(account(), c.path);
        EXPECT_EQ(outcome.callbacks, QStringList{"fail (main)"});
        EXPECT_TRUE(outcome.error.startsWith(c.error)) << outcome.error.toStdString();
    }
}

TEST(VersionOutputTest, LinesThatAreNoVersionLinesAreSkippedInOrder)
{
    RuvoVersionHistoryController controller;
    controller.setFilePath("/12/enc");
    const QString output = "[2014-05-06 10:11:12 +0000][1536][1]\n"
                           "x\n"
                           "\n"
                           "Connecting to server\n"
                           "[a]\n"
                           "<version mod_time=\"2014-05-07 08:00:00 +0000\" size=\"20\" ver=\"2\"/>\n";
    const QList<FileSystemNode> versions = controller.versionsFromOutput(output);
    EXPECT_EQ(describe(versions), QStringList({"1: 1536 (1.5 KB)", "2: 20 (20 B)"}));
    ASSERT_EQ(versions.size(), 2);
    EXPECT_EQ(versions.at(0).modificationDate, "2014-05-06 10:11:12 +0000");
    EXPECT_EQ(versions.at(1).name, "enc");
}

}  // namespace
