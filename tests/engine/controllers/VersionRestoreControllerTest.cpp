#include "engine/controllers/ControllerTestSupport.h"

#include "common/logging/OnlineLogController.h"
#include "common/transfer/FileTransferData.h"
#include "engine/controllers/RuvoVersionRestoreController.h"
#include "engine/controllers/VersionRestoreProtocol.h"
#include "engine/parsing/QLSYNCParser.h"
#include "support/FakeApplicationDelegate.h"

namespace {

class RestoreRecorder : public VersionRestoreProtocol
{
public:
    void willStartVersionRestoreforPath(const QString &, std::optional<qint64>, const QString &) override
    {
        log.add("will start");
    }
    void operationDidStart(RuvoVersionRestoreController *) override { log.add("start"); }
    void operationDidReceiveData(const ProgressReport &progress, RuvoVersionRestoreController *) override
    {
        lastProgress = progress.toMap();
    }
    void didFinishVersionRestoreforPath(const QString &, std::optional<qint64>, const QString &) override
    {
        log.add("finish");
    }
    void versionRestoreDidCancel(RuvoVersionRestoreController *) override { log.add("cancel"); }
    void versionRestoreDidFail(const QString &error, RuvoVersionRestoreController *) override
    {
        log.add("fail: " + error);
    }

    CallbackLog log;
    QVariantMap lastProgress;
};

constexpr TarnixProcessLibTimings kShortRunTimings{std::chrono::milliseconds(20), std::chrono::milliseconds(50),
                                                   std::chrono::milliseconds(10)};

qint64 fixedDraw(qint64 low, qint64) { return low; }

TXVersion versionOf(int number, double bytes)
{
    TXVersion version;
    version.setVersion(QString::number(number));
    version.setVersionID(number);
    version.SetSizeinBytes(bytes);
    version.setSize(QString::number(bytes) + " B");
    return version;
}

// The progress dictionary after one line of the engine's output.
QVariantMap progressAfter(const QString &line, double versionBytes, qint64 elapsed = 1)
{
    FileTransferData record;
    EXPECT_EQ(QLSYNCParser::ParseLineStr(line, record, 0), QLSYNCParser::Parsed);
    ProgressReport progress;
    VersionRestoreProgress::update(progress, record, versionOf(2, versionBytes), record.tottrf_sz().toDouble(), elapsed,
                                   fixedDraw);
    return progress.toMap();
}

TEST(VersionRestoreProgressTest, TargetNamesHaveAtLeastThreeDigits)
{
    const QList<QPair<int, QString>> cases = {
        {7, "/f/e_QLVER007"}, {42, "/f/e_QLVER042"}, {123, "/f/e_QLVER123"}, {1234, "/f/e_QLVER1234"}};
    for (const auto &[version, name] : cases)
        EXPECT_EQ(VersionRestoreProgress::targetName("/f/e", version), name);
}

TEST(VersionRestoreProgressTest, EstimatesFollowTheirRules)
{
    struct Case
    {
        double remaining, transferred;
        qint64 elapsed, expected;
    };
    const Case cases[] = {
        {100, 100, 10, 10},    // as measured
        {100, 0, 10, 5},       // nothing transferred yet
        {0, 100, 10, 5},       // nothing left
        {50000, 1, 1, 28800},  // over 12 hours: drawn from 8 to 12 hours
        {43200, 1, 1, 43200},  // exactly 12 hours is kept
    };
    for (const Case &c : cases)
        EXPECT_EQ(VersionRestoreProgress::calculateEstimatedTime(c.remaining, c.transferred, c.elapsed, fixedDraw),
                  c.expected)
            << c.remaining << "/" << c.transferred;
    for (int i = 0; i < 20; ++i) {
        const qint64 drawn = VersionRestoreProgress::calculateEstimatedTime(50000, 1, 1);
        EXPECT_TRUE(drawn >= 28800 && drawn <= 43199) << drawn;
    }
}

TEST(VersionRestoreProgressTest, ProgressDictionaryFromLines)
{
    const QString full = R"(<file per="100" tottrf_sz="2048" rate_trf="1024" trf_type="FULL" fname="/a.txt"/>)";
    QVariantMap progress = progressAfter(full, 1024);
    // More than the version's size: 100 %, and the done text equals the total text.
    EXPECT_EQ(progress.value("fileTransferedStatus"), "Done");
    EXPECT_EQ(progress.value("percentage"), "100");
    EXPECT_EQ(progress.value("cumulativetransfersize"), progress.value("totalsize"));
    EXPECT_EQ(progress.value("filename"), "/a.txt");
    EXPECT_EQ(progress.value("tansferMode"), "[Full Restore]");
    EXPECT_TRUE(progress.value("speed").toString().endsWith("/s"));
    EXPECT_EQ(progress.value("transferSpeed"), progress.value("cumulativetransfersize").toString() + " out of " +
                                                   progress.value("totalsize").toString() + " (" +
                                                   progress.value("speed").toString() + ")");
    const QList<QPair<QString, QString>> modes = {{"Incremental Restore", "[Incremental Restore]"},
                                                  {"INCREMENTAL", "[Incremental Restore]"},
                                                  {"FILE IN SYNC", "[Sync File]"}};
    for (const auto &[type, mode] : modes)
        EXPECT_EQ(progressAfter(R"(<file per="50" tottrf_sz="1" trf_type=")" + type + R"(" fname="/a"/>)", 1024)
                      .value("tansferMode"),
                  mode);
    // No type, no rate, nothing transferred: sync mode, no speed, the 5 s estimate.
    progress = progressAfter(R"(<file per="0" tottrf_sz="0" fname="/a"/>)", 1024);
    EXPECT_EQ(progress.value("tansferMode"), "[Sync File]");
    EXPECT_EQ(progress.value("fileTransferedStatus"), "In Progress");
    EXPECT_FALSE(progress.contains("speed"));
    EXPECT_EQ(progress.value("estimatedTime"), "00:00:05");
}

// A file backed up three times (10, 20 and 30 bytes) by the stand-in engine.
class VersionRestoreControllerTest : public StandInAccountFixture
{
protected:
    void SetUp() override
    {
        StandInAccountFixture::SetUp();
        TXSupportFileManager::txFileManager().setTarnixUserName("Ann");
        QLApplicationDelegate::setCurrent(&mainController);
        for (int size : {10, 20, 30}) {
            writeText(root() + "/local/doc.txt", QByteArray(size, char('a' + size / 10)));
            mServerPath = backUpWithStandIn(root() + "/operation", computerFolder(), {root() + "/local/doc.txt"})
                              .value(0)
                              .serverPath();
        }
    }
    void TearDown() override
    {
        QLApplicationDelegate::setCurrent(nullptr);
        StandInAccountFixture::TearDown();
    }

    QString computerFolder() const { return volumes() + "/Drive/TarnixVidezud/Ann/Office"; }
    QString target() const { return root() + "/restored"; }

    void prepare(RuvoVersionRestoreController &controller, RestoreRecorder &recorder, int version)
    {
        QDir().mkpath(target());
        controller.userInfo() = account();
        controller.setExecutorPath(engine());
        controller.setDelegate(&recorder);
        controller.setDestination(computerFolder());
        controller.setRestoreDestination(target());
        controller.setVersionFilepath(mServerPath);
        controller.setMDisplayFilePath("/local/doc.txt");
        controller.setSelectedVersionObj(versionOf(version, 10 * version));
    }

    QString summary(const RuvoVersionRestoreController &controller) const
    {
        return QString::fromUtf8(readText(controller.sessionLogPath() + ".summary"));
    }

    FakeApplicationDelegate mainController;
    QString mServerPath;
};

TEST_F(VersionRestoreControllerTest, RestoringVersionTwoGivesItsBytes)
{
    RuvoVersionRestoreController controller(kShortRunTimings);
    RestoreRecorder recorder;
    prepare(controller, recorder, 2);
    controller.versionRestore();
    // A second start while the run goes changes nothing.
    controller.versionRestore();
    ASSERT_TRUE(recorder.log.waitFor(3)) << recorder.log.entries().join(", ").toStdString();
    EXPECT_EQ(recorder.log.entries(), QStringList({"will start (main)", "start (main)", "finish (main)"}));
    EXPECT_EQ(readText(target() + "/doc.txt"), QByteArray(20, 'c'));
    EXPECT_EQ(readText(controller.operationFolder() + "/version"), (mServerPath + "_QLVER002").toUtf8());
    EXPECT_TRUE(summary(controller).contains("Files restored  now: 1"));
    EXPECT_FALSE(controller.isRestoring());
    ASSERT_EQ(mainController.sessionRecords.size(), 1);
    EXPECT_EQ(mainController.sessionRecords.first().mid(0, 3), QStringList({"Restore", "1", "0"}));
    EXPECT_EQ(recorder.lastProgress.value("fileTransferedStatus"), "Done");
}

TEST_F(VersionRestoreControllerTest, AnEngineErrorEndsAsAFailure)
{
    setScenario({{"errorText", "txruvo error: device is not connected"}, {"exitCode", 1}});
    RuvoVersionRestoreController controller(kShortRunTimings);
    RestoreRecorder recorder;
    prepare(controller, recorder, 2);
    controller.versionRestore();
    ASSERT_TRUE(recorder.log.waitFor(3)) << recorder.log.entries().join(", ").toStdString();
    EXPECT_TRUE(recorder.log.entries().last().startsWith("fail: txruvo error: device is not connected"))
        << recorder.log.entries().join(", ").toStdString();
    EXPECT_TRUE(summary(controller).contains("Files restored  now: 0"));
    EXPECT_EQ(OnlineLogController::SharedOnlineLogController().operationStatus(), "Failed");
    EXPECT_FALSE(controller.isRestoring());
}

TEST_F(VersionRestoreControllerTest, ACancelEndsTheRunAndARestartRightAfterItWorks)
{
    setScenario({{"stopMode", "hang"}, {"stopAfterFiles", 0}});
    RuvoVersionRestoreController controller(kShortRunTimings);
    RestoreRecorder recorder;
    prepare(controller, recorder, 1);
    controller.versionRestore();
    spinFor(100);
    controller.cancelRestore();
    EXPECT_EQ(recorder.log.entries(), QStringList({"will start (main)", "start (main)", "cancel (main)"}));
    EXPECT_TRUE(summary(controller).contains("Files restored  now: 0"));
    EXPECT_TRUE(
        QString::fromUtf8(readText(controller.sessionLogPath())).contains("Version Restore: Operation canceled"));
    EXPECT_TRUE(controller.isCancelled());
    // A restart right after the cancel runs once the cancelled engine has gone.
    setScenario({});
    RestoreRecorder next;
    prepare(controller, next, 3);
    ASSERT_TRUE(waitUntil([&] {
        controller.versionRestore();
        return controller.isRestoring();
    }));
    ASSERT_TRUE(next.log.waitFor(3)) << next.log.entries().join(", ").toStdString();
    EXPECT_EQ(next.log.entries().last(), "finish (main)");
    EXPECT_EQ(readText(target() + "/doc.txt"), QByteArray(30, 'd'));
    // The cancelled run sent no finish of its own.
    EXPECT_EQ(recorder.log.size(), 3);
}

}  // namespace
