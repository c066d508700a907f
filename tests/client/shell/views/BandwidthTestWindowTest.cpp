#include "client/shell/views/bandwidth/BandWidthTestView.h"
#include "client/shell/views/bandwidth/BandwidthTestWindowView.h"
#include "common/account/User.h"
#include "engine/EngineTestSupport.h"
#include "platform/PropertyList.h"
#include "support/SandboxFixture.h"
#include "support/ScriptedAlerts.h"

#include <QLabel>
#include <QPushButton>

namespace {

// The window over the stand-in engine, whose scenario each test sets.
class BandwidthTestWindowTest : public SandboxFixture
{
protected:
    void SetUp() override
    {
        SandboxFixture::SetUp();
        User account;
        account.setUserName("Ann");
        account.setPassword("secret");
        account.setPrivateKey("key");
        account.setRuvoServerIP("10.0.0.1");
        account.setRuvoUser(true);
        window.controller().setUserInfo(account);
    }
    void TearDown() override
    {
        qunsetenv("TXRUVO_SCENARIO");
        SandboxFixture::TearDown();
    }

    void setScenario(const QVariantMap &scenario)
    {
        const QString path = root() + "/scenario.plist";
        ASSERT_TRUE(PropertyList::write(path, scenario));
        qputenv("TXRUVO_SCENARIO", path.toUtf8());
    }
    bool waitForTheTestsEnd()
    {
        const bool ended = waitUntil([this] { return !window.controller().isTesting(); });
        spinFor(100);
        return ended;
    }

    ScriptedAlerts alerts;
    BandwidthTestWindowView window{alerts};
};

TEST_F(BandwidthTestWindowTest, ATestShowsItsProgressThenTheRateAndTheTimeForOneGigabyte)
{
    setScenario({{"transferRate", 1024}});
    window.uploadTestButton()->click();
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.processingView()->isVisible());
    EXPECT_FALSE(window.resultView()->isVisible());
    EXPECT_EQ(window.processingMessage()->text(), "Upload bandwidth test is in progress...");
    EXPECT_FALSE(window.uploadTestButton()->isEnabled());
    EXPECT_TRUE(window.downloadTestButton()->isChecked());

    ASSERT_TRUE(waitForTheTestsEnd());
    EXPECT_TRUE(window.resultView()->isVisible());
    EXPECT_FALSE(window.processingView()->isVisible());
    EXPECT_EQ(window.windowTitle(), "Upload Speed");
    EXPECT_EQ(window.message()->text(), "Your current upload speed is:");
    EXPECT_EQ(window.resultText()->text(), "8192.00 Kb/sec");
    EXPECT_EQ(window.ratePerHour()->text(), "It will take 17 mins 4 sec to upload 1GB of data");
    EXPECT_TRUE(window.uploadTestButton()->isEnabled() && window.downloadTestButton()->isEnabled());
    EXPECT_TRUE(alerts.shown.isEmpty());
}

TEST_F(BandwidthTestWindowTest, AnEngineErrorShowsOneAlertAndClosesTheWindow)
{
    setScenario({{"errorText", "account is under maintenance"}, {"stopMode", "exit"}});
    window.downloadTestButton()->click();
    ASSERT_TRUE(waitForTheTestsEnd());
    EXPECT_EQ(alerts.texts(), QStringList{"Your account is under maintenance. Try later."});
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(window.uploadTestButton()->isEnabled() && window.downloadTestButton()->isEnabled());
}

TEST_F(BandwidthTestWindowTest, ClosingTheWindowStopsTheTestWithoutAnAlert)
{
    setScenario({{"stopMode", "hang"}});
    window.uploadTestButton()->click();
    ASSERT_TRUE(window.controller().isTesting());
    window.close();
    ASSERT_TRUE(waitForTheTestsEnd());
    EXPECT_TRUE(alerts.shown.isEmpty());
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(window.uploadTestButton()->isEnabled());
}

}  // namespace
