#include "LoggedInClientFixture.h"

#include "client/shell/views/account/AccountMenuView.h"
#include "client/shell/views/bandwidth/BandwidthTestWindowView.h"
#include "platform/PropertyList.h"

// The account menu's speed test in the window: its entry shows the two tests, and a test
// runs the engine for the signed-in account and shows the rate.
class SpeedTestInTheWindowTest : public LoggedInClientFixture
{
protected:
    void TearDown() override
    {
        qunsetenv("TXRUVO_SCENARIO");
        LoggedInClientFixture::TearDown();
    }
};

TEST_F(SpeedTestInTheWindowTest, TheMenuRunsAnUploadTestOfTheAccount)
{
    ASSERT_TRUE(PropertyList::write(root() + "/scenario.plist", QVariantMap{{"transferRate", 1024}}));
    qputenv("TXRUVO_SCENARIO", (root() + "/scenario.plist").toUtf8());
    openLoggedIn();
    AccountMenuView &menu = *client->shell.loginWindows().accountMenu();
    EXPECT_FALSE(menu.mBandwidthTestButton->isHidden());
    ASSERT_TRUE(menu.mUploadSpeedButton->isHidden());
    menu.mBandwidthTestButton->click();
    ASSERT_FALSE(menu.mUploadSpeedButton->isHidden());
    menu.mUploadSpeedButton->click();

    BandwidthTestWindowView &window = client->shell.bandwidthTestWindow();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.controller().userInfo().UserName(), client->shell.mainController().userObject().UserName());
    ASSERT_TRUE(waitUntil([&] { return !window.resultText()->text().isEmpty(); }, 20000));
    EXPECT_EQ(window.resultText()->text(), "8192.00 Kb/sec");
}
