#include "LoggedInClientFixture.h"

#include "client/shell/account/MonitorNotices.h"
#include "client/shell/views/account/AccountMenuView.h"
#include "desktop/logs/LogViewRules.h"
#include "desktop/logs/views/LogViewController.h"
#include "platform/DistributedNotificationCenter.h"

// What the monitor hears from the client as the user works in the window, on the
// session bus: its preferences enabled after a login and disabled at a disconnect, opened
// from the account menu, the versions button after a mode switch, and the log period.
class NotificationsInTheWindowTest : public LoggedInClientFixture
{
protected:
    void SetUp() override
    {
        LoggedInClientFixture::SetUp();
        ASSERT_TRUE(monitor.isConnected());
        QObject::connect(&monitor, &DistributedNotificationCenter::notificationReceived,
                         [this](const QString &name, const QString &object, const QVariantMap &) {
                             heard.append(object.isEmpty() ? name : name + ":" + object);
                         });
    }

    bool hears(const QString &notification)
    {
        return waitUntil([&] { return heard.contains(notification); });
    }

    static TXMainControllerServices servicesStartingAMonitor()
    {
        TXMainControllerServices services = ClientWindow::servicesWithoutMonitor();
        services.startProgram = [](const QString &) { return true; };
        return services;
    }

    DistributedNotificationCenter monitor;  // where the monitor listens
    QStringList heard;
};

TEST_F(NotificationsInTheWindowTest, TheMonitorHearsWhatTheUserDoes)
{
    open(nullptr, servicesStartingAMonitor());
    logIn();
    EXPECT_TRUE(hears(MonitorNotices::kEnablePreferences));

    TXTabViewController &tabs = *client->shell.windows().tabViewController();
    tabs.sidebar()->showSwitchMode();
    tabs.sidebar()->switchModeButton()->click();
    EXPECT_TRUE(hears(MonitorNotices::kVersionsButton));

    AccountMenuView &menu = *client->shell.loginWindows().accountMenu();
    emit menu.openPreferences();
    EXPECT_TRUE(hears(MonitorNotices::kDisablePreferences));
    EXPECT_TRUE(hears(MonitorNotices::kOpenPreferences));
    emit menu.sendErrorReport();
    EXPECT_TRUE(hears(MonitorNotices::kOpenPreferences + ":" + MonitorNotices::kSendErrorReport));

    heard.clear();
    emit menu.disconnectAccount();
    EXPECT_TRUE(hears(MonitorNotices::kDisablePreferences));
}

TEST_F(NotificationsInTheWindowTest, ALogPeriodChosenInAnyViewerIsFollowed)
{
    openLoggedIn();
    LogViewController &logs = *client->logTab.logs;
    logs.sortLogs(LogViewRules::kLastTwoWeeks);
    EXPECT_TRUE(hears("LastTwoWeeks"));
    EXPECT_TRUE(waitUntil([&] { return logs.selectedPeriod() == LogViewRules::kLastTwoWeeks; }));

    // The monitor's viewer chose another.
    monitor.postNotificationName("FromTheBeginning");
    EXPECT_TRUE(waitUntil([&] { return logs.selectedPeriod() == LogViewRules::kFromTheBeginning; }));
}
