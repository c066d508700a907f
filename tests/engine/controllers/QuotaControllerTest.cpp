#include "engine/controllers/ControllerTestSupport.h"

#include "engine/controllers/ControllerTexts.h"
#include "engine/controllers/RuvoQuotaController.h"
#include "engine/controllers/RuvoQuotaControllerDelegateProtocol.h"

namespace {

class QuotaRecorder : public RuvoQuotaControllerDelegateProtocol
{
public:
    void RuvoQuotaCalculationDidFinishSuccessfully(RuvoQuotaController *, const QVariantMap &output) override
    {
        log.add("finish");
        figures = output;
    }
    void RuvoQuotaCalculationDidFailWithError(const QString &text, RuvoQuotaController *) override
    {
        log.add("fail");
        error = text;
    }

    CallbackLog log;
    QVariantMap figures;
    QString error;
};

// What one query told its delegate.
struct QuotaOutcome
{
    QStringList callbacks;
    QVariantMap figures;
    QString error;
};

QVariantMap quota(const QString &used, const QString &total, const QString &files)
{
    return {{"usedquota", used}, {"totalquota", total}, {"filecount", files}};
}

class QuotaControllerTest : public StandInAccountFixture
{
protected:
    void SetUp() override
    {
        StandInAccountFixture::SetUp();
        // Items count; markers, the engine's own files and earlier versions do not.
        const QString office = volumes() + "/Drive/TarnixVidezud/Ann/Office";
        writeText(office + "/Users/a.txt", QByteArray(1000, 'a'));
        writeText(office + "/Users/b.txt", QByteArray(24, 'b'));
        writeText(office + "/Users/a.txt_.chk", "enc_name=612e747874");
        writeText(office + "/.txruvo-folder_.chk", "folder_id=12ab");
        writeText(office + "/Ann.ver/Users/a.txt.qlvn001", QByteArray(500, 'v'));
        // A sync user's folder is its one computer folder; another user's does not count.
        writeText(volumes() + "/Other/QuellonVidezud/ann/x.bin", QByteArray(2048, 'x'));
        writeText(volumes() + "/Other/QuellonVidezud/ann/.txruvo-folder_.chk", "folder_id=34cd");
        writeText(volumes() + "/Other/TarnixVidezud/bob/y.bin", QByteArray(4096, 'y'));
        writeText(volumes() + "/Other/TarnixVidezud/bob/.txruvo-folder_.chk", "folder_id=56ef");
        // The client's index beside the computer folders is no stored data.
        writeText(volumes() + "/Drive/TarnixVidezud/Ann/.index/ann.qlenc", QByteArray(8192, 'i'));
    }

    // Runs one quota query to its end.
    QuotaOutcome run(const QString &executable)
    {
        QuotaRecorder recorder;
        RuvoQuotaController controller;
        controller.userInfo() = account();
        controller.setExecutorPath(executable);
        controller.setDelegate(&recorder);
        controller.runCalQuota();
        EXPECT_TRUE(recorder.log.waitFor(1));
        spinFor(50);
        return {recorder.log.entries(), recorder.figures, recorder.error};
    }
};

TEST_F(QuotaControllerTest, TheEnginesFiguresArriveInEveryLineForm)
{
    const struct
    {
        const char *name;
        QVariantMap scenario;
        QVariantMap figures;
    } cases[] = {
        {"element line", {}, quota("3072", "10737418240", "3")},
        {"element line broken after its first attribute",
         {{"breakElementLines", true}, {"accountSize", 5368709120LL}},
         quota("3072", "5368709120", "3")},
        {"bracketed columns", {{"lineForm", "bracket"}}, quota("3072", "", "3")},
        {"error text that is no error", {{"errorText", "note: slow link"}}, quota("3072", "10737418240", "3")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        setScenario(c.scenario);
        const QuotaOutcome outcome = run(engine());
        EXPECT_EQ(outcome.callbacks, QStringList{"finish (main)"});
        EXPECT_EQ(outcome.figures, c.figures);
    }
}

TEST_F(QuotaControllerTest, AnEngineThatFailsOrSaysNothingUsefulFailsTheQuery)
{
    const struct
    {
        const char *name;
        QVariantMap scenario;
        QString executable;
        QString error;  // the failure text starts with it
    } cases[] = {
        {"ERROR beside good output",
         {{"errorText", "ERROR: quota service busy"}},
         engine(),
         "ERROR: quota service busy"},
        {"under maintenance",
         {{"errorText", "account is under maintenance (try later)"}, {"stopMode", "exit"}},
         engine(),
         "account is under maintenance"},
        {"wrong key", {{"privateKey", "other"}}, engine(), "encryption verification failed"},
        {"wrong password", {{"password", "other"}}, engine(), "@ERROR: password mismatch"},
        {"died without a word", {{"stopMode", "crash"}}, engine(), ControllerTexts::kNoEngineAnswer},
        {"no engine", {}, root() + "/missing/txruvo", "ERROR: The engine could not be started"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        setScenario(c.scenario);
        const QuotaOutcome outcome = run(c.executable);
        EXPECT_EQ(outcome.callbacks, QStringList{"fail (main)"});
        EXPECT_TRUE(outcome.error.startsWith(c.error)) << outcome.error.toStdString();
    }
    // The two known phrases stand alone as the failure when the output is empty.
    setScenario({{"errorText", "account is under maintenance (try later)"}, {"stopMode", "exit"}});
    EXPECT_EQ(run(engine()).error, "account is under maintenance");
}

TEST(QuotaOutputTest, FiguresComeFromEveryLineThatCarriesThem)
{
    const struct
    {
        const char *name;
        QString output;
        std::optional<QVariantMap> figures;
    } cases[] = {
        {"element", "<quota usedquota=\"1024\" totalquota=\"5368709120\" filecount=\"12\"/>\n",
         quota("1024", "5368709120", "12")},
        {"element split after its first attribute",
         "<quota usedquota=\"1024\"\ntotalquota=\"5368709120\" filecount=\"12\"/>\n",
         quota("1024", "5368709120", "12")},
        {"columns", "[1024][12]\n", quota("1024", "", "12")},
        {"a later line adds to an earlier one",
         "<quota usedquota=\"1\" filecount=\"2\"/>\nnoise\n<quota totalquota=\"9\" usedquota=\"5\"/>",
         quota("5", "9", "2")},
        {"no quota line", "Connection established\n[1]\n", std::nullopt},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(RuvoQuotaController::quotaFromOutput(c.output), c.figures);
    }
}

TEST_F(QuotaControllerTest, AnAnswerWithoutFiguresIsAFailureNotAZeroQuota)
{
    // An engine that only chats: a script standing in for it.
    const QString chatty = root() + "/chatty.sh";
    writeText(chatty, "#!/bin/sh\necho 'Connection established'\n");
    QFile::setPermissions(chatty, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QuotaOutcome outcome = run(chatty);
    EXPECT_EQ(outcome.callbacks, QStringList{"fail (main)"});
    EXPECT_EQ(outcome.error, "The engine's answer held no quota figures.");
}

}  // namespace
