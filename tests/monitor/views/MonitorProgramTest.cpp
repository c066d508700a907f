// The tray program as its main() builds it: messages of the client and the
// daemon, the status menu, the quota warning and the session logs.

#include "MonitorProgramFixture.h"

#include "common/messaging/MessageSendingModule.h"
#include "common/utility/QLUtility.h"
#include "monitor/app/MonitorMenuTags.h"
#include "monitor/notify/NotificationRules.h"
#include "monitor/views/ExcludeViewController.h"
#include "monitor/views/GeneralViewController.h"
#include "monitor/views/LogFileWindow.h"
#include "monitor/views/PreferencesWindowView.h"
#include "monitor/views/TrayHelpBalloon.h"
#include "monitor/views/notify/NotificationWindow.h"
#include "monitor/views/schedules/ScheduleWindow.h"
#include "monitor/views/sessionlogs/SessionLogListWindow.h"
#include "platform/DistributedNotificationCenter.h"
#include "platform/PathStandardizer.h"

#include "common/widgets/AlertPaneWindowController.h"
#include "desktop/errorreport/views/SendErrorReportController.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QTimer>

#include <QPushButton>
#include <QTableWidget>
#include <csignal>

#include <gtest/gtest.h>

namespace {

using namespace NotificationRules;

// A program of this user that talks to the monitor: the client, or the daemon.
class Peer
{
public:
    explicit Peer(const QString &ownName)
    {
        mModule.setDelegate(&mMessages);
        mModule.setupConnection(
            ownName, MessageSendingModule::monitorName(QLUtility::machineID(), MessageSendingModule::loginName()));
    }
    void send(const QVariant &payload, int type) { mModule.sendIPCMessage(payload, type, false); }
    int countOfType(int type) const
    {
        int count = 0;
        for (const QVariant &message : mMessages.messages())
            count += message.toList().value(1).toString() == QString::number(type);
        return count;
    }

private:
    IPCMessageRecorder mMessages;
    MessageSendingModule mModule;
};

class MonitorProgramTest : public MonitorProgramFixture
{
protected:
    static QString clientName()
    {
        return MessageSendingModule::clientName(QLUtility::machineID(), MessageSendingModule::loginName());
    }
    static QString daemonName()
    {
        return "TarnixVidezudDaemon" + QLUtility::machineID() + MessageSendingModule::loginName();
    }
    NotificationWindow &notification() { return mProgram->notificationWindow(); }
};

TEST_F(MonitorProgramTest, TheClientsHelloIsAnsweredOnce)
{
    Peer client(clientName());
    startMonitor();
    ASSERT_TRUE(pumpUntil([&] { return client.countOfType(3) == 1; })) << "the monitor greets the client at its start";

    client.send(QString(), 3);
    ASSERT_TRUE(pumpUntil([&] { return client.countOfType(8) == 1; }));
    pumpFor(500);
    EXPECT_EQ(client.countOfType(8), 1);
    EXPECT_EQ(client.countOfType(3), 1) << "a hello is answered with another type, never with a hello";
}

TEST_F(MonitorProgramTest, DaemonMessagesReachTheWindowsAndNeverRunCommands)
{
    const QString sessionLog =
        PathStandardizer::standardizePath(QLLocalizedString("SessionLogsFolderPath")) + "/Backup 01-02-2013-10-15-30";
    writeText(sessionLog, "Scheduled backup completed");
    startMonitor();
    Peer daemon(daemonName());

    const QString witness = root() + "/ran";
    daemon.send("touch " + witness, 5);
    daemon.send("touch " + witness, 6);
    daemon.send("Start", 4);
    daemon.send("Scheduled backup is in progress", 2);
    daemon.send(QVariantMap{{kUsername, "ann"},
                            {kSuccessCount, "5"},
                            {kSyncFileCount, "1"},
                            {kFailureCount, "2"},
                            {kTotalCount, "8"},
                            {kUsedQuota, "1.5 GB"},
                            {kTotalQuota, "2 GB"},
                            {kPercentageQuota, "75"},
                            {kAccountType, "Personal"},
                            {kSessionLogPath, sessionLog}},
                1);
    ASSERT_TRUE(pumpUntil([&] { return notification().isVisible(); }));
    EXPECT_EQ(notification().userText(), "ann");
    EXPECT_EQ(notification().countText(kSuccessCount), "5 files");
    EXPECT_EQ(notification().countText(kSyncFileCount), "1 files");
    EXPECT_EQ(notification().countText(kFailureCount), "2 files");
    EXPECT_EQ(notification().countText(kTotalCount), "8 files");
    EXPECT_TRUE(notification().isFailureRowVisible());
    EXPECT_TRUE(notification().isCountBlockVisible());
    EXPECT_FALSE(notification().isUpgradeBlockVisible());
    EXPECT_EQ(notification().quotaText(), "1.5 GB out of 2 GB");
    EXPECT_EQ(notification().levelPercentage(), 75);
    EXPECT_TRUE(mProgram->controller().isOperationInProgress());
    EXPECT_EQ(mProgram->windows().statusItem().toolTip(), "Scheduled backup is in progress");
    EXPECT_FALSE(QFile::exists(witness)) << "a received text is never run";
    // On screen, at its top right.
    const QRect available = notification().availableGeometry();
    EXPECT_TRUE(available.contains(notification().geometry())) << "on the usable area";

    // The window's View Log shows the daemon's log of that backup.
    notification().findChild<QPushButton *>("viewLog")->click();
    LogFileWindow &log = mProgram->windows().logFileWindow();
    EXPECT_TRUE(log.isVisible());
    EXPECT_EQ(log.text(), "Scheduled backup completed");

    daemon.send("Terminate", 4);
    ASSERT_TRUE(pumpUntil([&] { return !mProgram->controller().isOperationInProgress(); }));
}

TEST_F(MonitorProgramTest, BackupNowFromTheMenuIsBackedUpByTheDaemon)
{
    startMonitor();
    menuItem("Backup now")->trigger();
    EXPECT_EQ(store().schedulerState(), "2") << "the request the daemon takes";
    const auto records = store().tarnixSchedulerDetailsForAllUsers().value_or(QList<TarnixScheduleItem>());
    ASSERT_EQ(records.size(), 1);
    EXPECT_EQ(records[0].frequency(), 0);
    EXPECT_EQ(records[0].processReferenceFile(), backupSet());

    QProcess daemon;
    daemon.setProgram(qEnvironmentVariable("TX_BIN_DIR") + "/txdaemon");
    daemon.setArguments({"--poll-ms", "100"});
    daemon.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    daemon.start();
    ASSERT_TRUE(daemon.waitForStarted(5000));

    ASSERT_TRUE(pumpUntil([&] { return statusOf(records[0]) == TarnixScheduleItem::Completed; }, 60000))
        << "status " << statusOf(records[0]);
    expectDriveHoldsTree();
    // The daemon's notice of the finished backup shows.
    ASSERT_TRUE(pumpUntil([&] { return notification().isVisible(); }));
    EXPECT_EQ(notification().countText(kSuccessCount), QString("%1 files").arg(treeFiles().size()));
    EXPECT_FALSE(mProgram->controller().lastNotifiedSessionLog().isEmpty());

    daemon.terminate();
    EXPECT_TRUE(daemon.waitForFinished(30000));
}

TEST_F(MonitorProgramTest, BackupNowTwiceAsksToWait)
{
    startMonitor();
    menuItem("Backup now")->trigger();
    menuItem("Backup now")->trigger();
    EXPECT_EQ(store().tarnixSchedulerDetailsForAllUsers().value_or(QList<TarnixScheduleItem>()).size(), 1);
    EXPECT_EQ(store().schedulerState(), "2");
}

TEST_F(MonitorProgramTest, UsedUpQuotaBlinksAndRecoveryStopsIt)
{
    const QString quota = QDir::cleanPath(PathTemplate::fillTemplate(QLLocalizedString("UserDetailsPath"), {"ann"}));
    writePlist(quota, QVariantMap{{"TOTALQUOTASIZE", 100.0}, {"USEDQUOTASIZE", 89.6}});
    MonitorTimings timings;
    timings.blink = std::chrono::milliseconds(20);
    startMonitor(timings);
    StatusItem &item = mProgram->windows().statusItem();
    ASSERT_TRUE(mProgram->controller().isBlinking());
    EXPECT_TRUE(pumpUntil([&] { return item.image() == "TarnixUpgradeMenuIcon"; }));
    EXPECT_TRUE(pumpUntil([&] { return item.image() == "Portable_tray1"; }));
    EXPECT_TRUE(item.toolTip().startsWith("You have exceeded the allocated quota limit"));

    // A login in the client resets the tray item; the next refresh warns again.
    mContext->notifications().postNotificationName("TarnixPortableEnablePreferencesNotification");
    ASSERT_TRUE(pumpUntil([&] { return !mProgram->controller().isBlinking(); }));
    EXPECT_EQ(item.image(), "Portable_tray1");
    mProgram->controller().checkForTotalQuota();
    EXPECT_TRUE(mProgram->controller().isBlinking());

    writePlist(quota, QVariantMap{{"TOTALQUOTASIZE", 100.0}, {"USEDQUOTASIZE", 89.4}});
    emit item.menu().aboutToShow();  // opening the menu refreshes it
    EXPECT_FALSE(mProgram->controller().isBlinking());
    pumpFor(100);
    EXPECT_EQ(item.image(), "Portable_tray1");
    EXPECT_EQ(item.toolTip(), "You have no scheduled jobs");
}

TEST_F(MonitorProgramTest, ViewLogListsTheDaemonsLogsNewestFirst)
{
    const QString folder = PathStandardizer::standardizePath(QLLocalizedString("SessionLogsFolderPath"));
    writeText(folder + "/Backup 01-02-2013-10-15-30", "second of January");
    writeText(folder + "/Backup 01-03-2013-09-05", "third of January");
    writeText(folder + "/.DS_Store", "x");
    QDir().mkpath(folder + "/LOGXML");
    startMonitor();

    menuItem("View Log")->trigger();
    SessionLogListWindow &list = mProgram->windows().sessionLogList();
    ASSERT_TRUE(list.isVisible());
    ASSERT_EQ(list.table()->rowCount(), 2);
    list.openSelectedSessionLogs();  // the first row is selected
    EXPECT_EQ(mProgram->windows().logFileWindow().text(), "third of January");

    menuItem("Session logs")->trigger();
    ASSERT_NE(mProgram->windows().sessionLogWindow(), nullptr);
    EXPECT_TRUE(mProgram->windows().sessionLogWindow()->isVisible());
}

TEST_F(MonitorProgramTest, SchedulerItemsWriteTheControlFiles)
{
    const QString status = QLLocalizedString("SchedulerStatus");
    writeText(status, "0");
    startMonitor();
    QAction *disable = menuItem(MonitorMenuTags::kDisableAllSchedules);
    EXPECT_EQ(disable->text(), "Enable all scheduled jobs") << "read at start";
    disable->trigger();
    EXPECT_EQ(readText(status), "1");
    disable->trigger();
    EXPECT_EQ(readText(status), "0");

    QAction *pause = menuItem(MonitorMenuTags::kPauseResume);
    EXPECT_FALSE(pause->isEnabled()) << "no scheduled job runs";
    EXPECT_FALSE(menuItem(MonitorMenuTags::kStopScheduledJob)->isEnabled());
    pause->trigger();  // a disabled item does nothing
    EXPECT_EQ(pause->text(), "Pause the scheduled job");
    mProgram->controller().pauseResume(MonitorMenuTags::kPauseResume);
    EXPECT_EQ(pause->text(), "Resume the scheduled job");
    EXPECT_EQ(mProgram->windows().statusItem().image(), "TarnixPauseMenuIcon");
    mProgram->controller().pauseResume(MonitorMenuTags::kDisableAllSchedules);  // another tag changes nothing
    EXPECT_EQ(pause->text(), "Resume the scheduled job");

    // A monitor started during the pause offers to resume.
    mProgram.reset();
    mContext.reset();
    startMonitor();
    EXPECT_EQ(menuItem(MonitorMenuTags::kPauseResume)->text(), "Resume the scheduled job");
}

TEST_F(MonitorProgramTest, LaunchWordAndTrayHelpActOnceAtStart)
{
    const QString launch = PathStandardizer::standardizePath(QLLocalizedString("MonitorLaunchFilePath"));
    const QString marker = PathStandardizer::standardizePath(QLLocalizedString("TrayHelpMarkerFilePath"));
    writeText(launch, "ViewExclude");
    writeText(marker, "");
    startMonitor();
    EXPECT_EQ(mProgram->controller().launchFileAction(), MonitorLaunchWord::Action::OpenExclusionPreferences);
    EXPECT_FALSE(QFile::exists(launch));
    ASSERT_NE(mProgram->windows().preferences(), nullptr);
    EXPECT_TRUE(mProgram->windows().preferences()->isVisible());
    EXPECT_TRUE(mProgram->windows().preferences()->excludePane()->isVisible());
    ASSERT_NE(mProgram->windows().trayHelp(), nullptr);
    EXPECT_TRUE(mProgram->windows().trayHelp()->isVisible());
    EXPECT_FALSE(QFile::exists(marker));
}

TEST_F(MonitorProgramTest, ErrorReportWordOpensTheReportOnly)
{
    writeText(PathStandardizer::standardizePath(QLLocalizedString("MonitorLaunchFilePath")), "sendErrorReport");
    startMonitor();
    ASSERT_NE(mProgram->windows().errorReport(), nullptr);
    EXPECT_TRUE(mProgram->windows().errorReport()->sendErrorReportWindow()->isVisible());
    EXPECT_EQ(mProgram->windows().errorReport()->quellonUserNameField()->text(), "ann");

    mProgram->windows().errorReport()->sendErrorReportWindow()->hide();
    menuItem("Send error report...")->trigger();
    EXPECT_TRUE(mProgram->windows().errorReport()->sendErrorReportWindow()->isVisible());
}

TEST_F(MonitorProgramTest, ManageSchedulesOpensTheScheduleWindow)
{
    startMonitor();
    EXPECT_EQ(mProgram->windows().scheduleWindow(), nullptr);
    menuItem("Manage schedules...")->trigger();
    ASSERT_NE(mProgram->windows().scheduleWindow(), nullptr);
    EXPECT_TRUE(mProgram->windows().scheduleWindow()->isVisible());
}

TEST_F(MonitorProgramTest, PreferencesOpenOnTheGeneralPane)
{
    startMonitor();
    EXPECT_EQ(mProgram->windows().preferences(), nullptr);
    menuItem("Preferences...")->trigger();
    ASSERT_NE(mProgram->windows().preferences(), nullptr);
    EXPECT_TRUE(mProgram->windows().preferences()->isVisible());
    EXPECT_TRUE(mProgram->windows().preferences()->generalPane()->isVisible());
}

TEST_F(MonitorProgramTest, NoMarkerNoTrayHelp)
{
    startMonitor();
    EXPECT_EQ(mProgram->windows().trayHelp(), nullptr);
    EXPECT_EQ(mProgram->controller().launchFileAction(), MonitorLaunchWord::Action::None);
}

// The text of the newest alert window.
QString alertText()
{
    AlertPaneWindowController *alert = AlertPaneWindowController::current();
    if (!alert)
        return {};
    QStringList texts;
    for (const QLabel *label : alert->window()->findChildren<QLabel *>())
        texts << label->text();
    return texts.join('\n');
}

TEST_F(MonitorProgramTest, StatusWindowSummarisesTheAccount)
{
    writePlist(QDir::cleanPath(PathTemplate::fillTemplate(QLLocalizedString("UserDetailsPath"), {"ann"})),
               QVariantMap{{"TOTALQUOTASIZE", 1000.0}, {"USEDQUOTASIZE", 250.0}});
    startMonitor();
    menuItem("Show status")->trigger();
    ASSERT_TRUE(notification().isVisible());
    EXPECT_FALSE(notification().isCountBlockVisible()) << "no counts on request";
    EXPECT_EQ(notification().levelPercentage(), 25);
    EXPECT_TRUE(notification().quotaText().contains(" out of ")) << notification().quotaText().toStdString();
    EXPECT_EQ(notification().nextJobText(), "You have no scheduled jobs");
    EXPECT_EQ(notification().userText(), "ann");

    Peer daemon(daemonName());
    daemon.send("Start", 4);
    ASSERT_TRUE(pumpUntil([&] { return mProgram->controller().isOperationInProgress(); }));
    menuItem("Show status")->trigger();
    EXPECT_EQ(notification().nextJobText(), "Scheduled backup is in progress");
}

TEST_F(MonitorProgramTest, ShowProgressWithNothingRunningSaysSo)
{
    startMonitor();
    menuItem("Show progress")->trigger();
    EXPECT_TRUE(alertText().contains("No backup operation is in progress")) << alertText().toStdString();
    EXPECT_FALSE(QFile::exists(QLLocalizedString("SchedulerProgress")));
}

TEST_F(MonitorProgramTest, StopFromTheSubmenuAsksThenStopsTheRunningJob)
{
    TarnixScheduleItem running = record(TarnixScheduleItem::Immediate, QDateTime::currentDateTime());
    running.setStatus(TarnixScheduleItem::InProgress);
    ASSERT_TRUE(store().tarnixaddSchedulerDetails(running).saved());
    startMonitor();
    QAction *stop = menuItem(MonitorMenuTags::kStopScheduledJob);
    ASSERT_TRUE(stop->isEnabled()) << "a scheduled job runs";
    EXPECT_TRUE(menuItem(MonitorMenuTags::kPauseResume)->isEnabled());

    QTimer::singleShot(0, [] { AlertPaneWindowController::current()->cancelButton()->click(); });
    stop->trigger();
    EXPECT_NE(store().schedulerState(), "3") << "Cancel stops nothing";

    QTimer::singleShot(0, [] { AlertPaneWindowController::current()->okButton()->click(); });
    stop->trigger();
    EXPECT_EQ(store().schedulerState(), "3");
}

TEST_F(MonitorProgramTest, OpenTheClientStartsIt)
{
    startMonitor();
    menuItem("Open " + QLLocalizedString("ApplicationName"))->trigger();
    // The client of this test's sandbox: the program, with this test's home.
    const QString client = QFileInfo(QLLocalizedString("ApplicationExecPath")).canonicalFilePath();
    const QByteArray home = "HOME=" + qgetenv("HOME");
    qint64 started = 0;
    ASSERT_TRUE(pumpUntil([&] {
        for (const QFileInfo &entry : QDir("/proc").entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            bool number = false;
            const qint64 pid = entry.fileName().toLongLong(&number);
            if (!number || QFileInfo(entry.filePath() + "/exe").canonicalFilePath() != client)
                continue;
            QFile environment(entry.filePath() + "/environ");
            if (environment.open(QIODevice::ReadOnly) && environment.readAll().split('\0').contains(home))
                started = pid;
        }
        return started != 0;
    }));
    ::kill(pid_t(started), SIGKILL);
}

}  // namespace
