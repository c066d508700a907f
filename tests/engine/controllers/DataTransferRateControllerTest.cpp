#include "engine/controllers/ControllerTestSupport.h"

#include "engine/controllers/BandwidthTestWindow.h"
#include "engine/controllers/DataTransferRateController.h"

namespace {

// The window as the controller drives it, one line per call.
class WindowRecorder : public BandwidthTestWindow
{
public:
    void launchWindowWithName(const QString &title, const QString &message) override
    {
        calls << "progress '" + title + "' " + message;
    }
    void upDateResult(const QString &rate, const QString &time, const QString &message, const QString &title) override
    {
        calls << "result " + title + " | " + message + " | " + rate + " | " + time;
    }
    void setTestButtonStates(bool downloadOn, bool uploadOn) override
    {
        calls << QStringLiteral("download %1, upload %2").arg(downloadOn ? "on" : "off", uploadOn ? "on" : "off");
    }
    void setTestButtonsEnabled(bool enabled) override { calls << (enabled ? "enabled" : "disabled"); }
    void showAlert(const QString &text) override { calls << "alert " + text; }
    void hideWindow() override { calls << "hidden"; }

    QStringList calls;
};

const QString kUploadStart[] = {"download on, upload off", "disabled",
                                "progress '' Upload bandwidth test is in progress..."};
const QString kDownloadStart[] = {"download off, upload on", "disabled",
                                  "progress ' ' Download bandwidth test is in progress..."};

QStringList starting(const QString (&start)[3], const QStringList &then)
{
    return QStringList{start[0], start[1], start[2]} + then;
}

class DataTransferRateControllerTest : public StandInAccountFixture
{
protected:
    void SetUp() override
    {
        StandInAccountFixture::SetUp();
        controller.setUserInfo(account());
    }

    // Waits until the test's engine run has ended and the window was told.
    void finishTest()
    {
        ASSERT_TRUE(waitUntil([this] { return !controller.isTesting(); }));
        spinFor(100);
    }

    WindowRecorder window;
    DataTransferRateController controller{window};
};

TEST(BandwidthFiguresTest, RatesAndTheTimeForOneGigabyte)
{
    const struct
    {
        double rate;
        const char *shown;
        const char *time;
    } cases[] = {
        {1024, "8192.00 Kb/sec", "17 mins 4 sec"}, {0, "8.00 Kb/sec", "291 hours 16 mins"},
        {16, "128.00 Kb/sec", "18 hours 12 mins"}, {16384, "131072.00 Kb/sec", "1 mins 4 sec"},
        {262144, "2097152.00 Kb/sec", "4 sec"},    {17476.2666, "139810.13 Kb/sec", "1 mins"},
        {291.2711, "2330.17 Kb/sec", "1 hours"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.rate);
        EXPECT_EQ(DataTransferRateController::dataRateText(c.rate), c.shown);
        EXPECT_EQ(DataTransferRateController::calulateTimePerGBForSpeed(c.rate), c.time);
    }
    EXPECT_EQ(DataTransferRateController::rateNumber("1024.00KB/s"), 1024.0);
    for (const char *noNumber : {"KB/s", "", "abcKB/s", "1.2x"})
        EXPECT_EQ(DataTransferRateController::rateNumber(noNumber), std::nullopt) << noNumber;
    EXPECT_EQ(DataTransferRateController::lastRate("<transfer trf_type=\"upload\" trf_rate=\"1.00KB/s\"/>\nnoise\n"
                                                   "<transfer trf_type=\"upload\" trf_rate=\"2.00KB/s\"/>\n"),
              "2.00KB/s");
    EXPECT_EQ(DataTransferRateController::lastRate("[1][2]\n<transfer trf_type=\"upload\"/>"), std::nullopt);
}

TEST(BandwidthFiguresTest, TheFirstKnownPhraseOfTheErrorTextChoosesTheAlert)
{
    const struct
    {
        const char *errors;
        const char *alertStart;
    } cases[] = {
        {"account is under maintenance", "Your account is under maintenance. Try later."},
        {"@ERROR: protocol version mismatch\nencryption verification failed", "Enter a valid encryption Key"},
        {"@ERROR: protocol version mismatch",
         "You are currently using an older version of the application. Download and install the latest version from "},
        {"Connection refused", "Unable to retrieve the information. Try later."},
        {"Account Is Under Maintenance", "Unable to retrieve the information. Try later."},
    };
    for (const auto &c : cases)
        EXPECT_TRUE(DataTransferRateController::alertForError(c.errors).startsWith(c.alertStart)) << c.errors;
}

TEST_F(DataTransferRateControllerTest, AMeasuredRateIsShownWithTheTimeForOneGigabyte)
{
    setScenario({{"transferRate", 1024}});
    controller.getUploadRate();
    finishTest();
    EXPECT_EQ(window.calls,
              starting(kUploadStart, {"result Upload Speed | Your current upload speed is: | 8192.00 Kb/sec | "
                                      "It will take 17 mins 4 sec to upload 1GB of data",
                                      "enabled"}));

    // Measured for real: only the wording is known.
    setScenario({});
    window.calls.clear();
    controller.getDownloadRate();
    finishTest();
    ASSERT_EQ(window.calls.size(), 5) << window.calls.join("\n").toStdString();
    EXPECT_TRUE(window.calls.at(3).startsWith("result Download Speed | Your current download speed is: | "));
    EXPECT_TRUE(window.calls.at(3).endsWith(" to download 1GB of data"));
}

TEST_F(DataTransferRateControllerTest, AnErrorOrAMissingRateShowsOneAlertAndClosesTheWindow)
{
    const struct
    {
        const char *name;
        QVariantMap scenario;
        QString alert;
    } cases[] = {
        {"under maintenance",
         {{"errorText", "account is under maintenance"}, {"stopMode", "exit"}},
         "alert Your account is under maintenance. Try later."},
        {"wrong key", {{"privateKey", "other"}}, "alert Enter a valid encryption Key"},
        {"no rate line", {{"lineForm", "bracket"}}, "alert Unable to retrieve the information. Try later."},
        {"died without a word", {{"stopMode", "crash"}}, "alert Unable to retrieve the information. Try later."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        setScenario(c.scenario);
        window.calls.clear();
        controller.getUploadRate();
        finishTest();
        EXPECT_EQ(window.calls, starting(kUploadStart, {c.alert, "enabled", "hidden"}));
    }
}

TEST_F(DataTransferRateControllerTest, ATestEndedByTheUserShowsNothingAndTheNextTestsErrorStillShows)
{
    setScenario({{"stopMode", "hang"}});
    controller.getUploadRate();
    ASSERT_TRUE(controller.isTesting());
    controller.closeWindow();
    finishTest();
    EXPECT_EQ(window.calls, starting(kUploadStart, {"enabled", "hidden"}));

    // A new test stops the one that runs, which then tells nothing.
    controller.getUploadRate();
    setScenario({{"errorText", "account is under maintenance"}, {"stopMode", "exit"}});
    window.calls.clear();
    controller.getDownloadRate();
    finishTest();
    EXPECT_EQ(window.calls,
              starting(kDownloadStart, {"alert Your account is under maintenance. Try later.", "enabled", "hidden"}));
}

}  // namespace
