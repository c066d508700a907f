// The schedule window as the tray opens it, offscreen, on the real store and
// files; the runs end to end through the daemon stand-in and the stand-in engine.

#include "tools/daemon/DaemonFixture.h"

#include "engine/EngineTestSupport.h"
#include "monitor/schedules/ScheduleArchive.h"
#include "monitor/views/schedules/DayControl.h"
#include "monitor/views/schedules/ScheduleEditorSheet.h"
#include "monitor/views/schedules/ScheduleWindow.h"
#include "platform/PathStandardizer.h"
#include "support/ScriptedAlerts.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

// The daemon stand-in as its own program.
class DaemonRun
{
public:
    ~DaemonRun()
    {
        if (mProcess.state() != QProcess::NotRunning) {
            mProcess.terminate();
            if (!mProcess.waitForFinished(30000))
                mProcess.kill();
        }
    }
    bool start()
    {
        mProcess.start(qEnvironmentVariable("TX_BIN_DIR") + "/txdaemon", {"--poll-ms", "100"});
        if (!mProcess.waitForStarted(5000))
            return false;
        while (!mProcess.canReadLine())
            if (!mProcess.waitForReadyRead(10000))
                return false;
        return mProcess.readLine().startsWith("txdaemon running");
    }
    bool running() const { return mProcess.state() == QProcess::Running; }

private:
    QProcess mProcess;
};

class ScheduleWindowTest : public DaemonFixture
{
protected:
    void SetUp() override
    {
        DaemonFixture::SetUp();
        ASSERT_TRUE(PropertyList::write(
            QLLocalizedString("LastUserLoginDetailsFilePath"),
            QVariantMap{
                {"Username", "ann"}, {"TarnixUsername", "ann"}, {"SSL", "YES"}, {"quotaServername", "quota.example"}},
            PropertyList::kOwnerReadWrite));
        ASSERT_TRUE(store().writeSchedulerState("0"));
        mWindow =
            std::make_unique<ScheduleWindow>(store(), mAlerts, ScheduleWindowTimings{std::chrono::milliseconds(200)});
        mWindow->showSchedulerMainWindow();
    }
    void TearDown() override
    {
        mWindow.reset();
        DaemonFixture::TearDown();
    }

    // What a failed wait for the daemon shows.
    std::string diagnosis(const TarnixScheduleItem &item, const DaemonRun &daemon)
    {
        return QStringLiteral("status %1, state %2, daemon %3\n%4")
            .arg(statusOf(item))
            .arg(store().schedulerState().value_or("none"), daemon.running() ? "running" : "gone",
                 readText(QLLocalizedString("DaemonTraceFilePath")).right(3000))
            .toStdString();
    }
    QList<TarnixScheduleItem> archive()
    {
        return store().tarnixSchedulerDetailsForAllUsers().value_or(QList<TarnixScheduleItem>());
    }

    void trigger(const char *toolbarItem)
    {
        QAction *action = mWindow->toolbar()->findChild<QAction *>(toolbarItem);
        ASSERT_NE(action, nullptr) << toolbarItem;
        action->trigger();
    }
    ScheduleEditorSheet *openEditor()
    {
        trigger("EditItem");
        ScheduleEditorSheet *sheet = mWindow->editorSheet();
        EXPECT_NE(sheet, nullptr);
        EXPECT_TRUE(sheet && sheet->isVisible() && sheet->windowModality() == Qt::WindowModal);
        return sheet;
    }
    bool sheetClosed()
    {
        return waitUntil([this] { return mWindow->editorSheet() == nullptr; }, 5000);
    }
    QMap<QString, bool> menuStates()
    {
        emit mWindow->scheduleMenu()->aboutToShow();
        QMap<QString, bool> states;
        for (QAction *item : mWindow->scheduleMenu()->actions())
            states.insert(item->text(), item->isEnabled());
        return states;
    }

    ScriptedAlerts mAlerts;
    std::unique_ptr<ScheduleWindow> mWindow;
};

TEST_F(ScheduleWindowTest, CreateEditToWeekdaysThenMonthlyAndDelete)
{
    EXPECT_TRUE(mWindow->isRefreshing());
    EXPECT_EQ(menuStates().values(), QList<bool>(5, false)) << "nothing selected";

    // The panel's daily box makes the user's first job, on the backup set of the login.
    mWindow->dailyBox()->click();
    ASSERT_EQ(archive().size(), 1);
    const TarnixScheduleItem created = archive().first();
    EXPECT_EQ(created.frequency(), TarnixScheduleItem::Daily);
    EXPECT_EQ(created.username(), "ann");
    EXPECT_EQ(created.processReferenceFile(), backupSet());
    EXPECT_EQ(created.quotaServername(), "quota.example");
    ASSERT_EQ(mWindow->table()->rowCount(), 1);
    EXPECT_EQ(mWindow->selectedIdentity(), created.identityKey());
    const QMap<QString, bool> completedMenu = menuStates();
    EXPECT_FALSE(completedMenu.value("Stop Transfer"));
    EXPECT_TRUE(completedMenu.value("Edit") && completedMenu.value("Delete") && completedMenu.value("Immediate"));

    // Edit: Sunday and Saturday off leaves Monday to Friday.
    ScheduleEditorSheet *sheet = openEditor();
    ASSERT_NE(sheet, nullptr);
    EXPECT_FALSE(mWindow->isRefreshing()) << "no reload under the sheet";
    EXPECT_EQ(sheet->rowButton(0)->text(), "Daily Schedule");
    sheet->dayControl()->item(0)->click();
    sheet->dayControl()->item(6)->click();
    EXPECT_EQ(sheet->rowButton(0)->text(), "Week-Day(s)");
    EXPECT_TRUE(sheet->rowButton(0)->isChecked());
    sheet->updateButton()->click();
    ASSERT_TRUE(sheetClosed());
    EXPECT_TRUE(mWindow->isRefreshing());
    ASSERT_EQ(archive().size(), 1);
    EXPECT_EQ(archive().first().frequency(), TarnixScheduleItem::SelectedDays);
    EXPECT_EQ(TarnixScheduleItem::dayIndexes(archive().first().selectedDaysForSchedule()), (QList<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(archive().first().identityKey(), created.identityKey());

    // Edit: opening the day-of-month list makes it monthly; a bad address keeps the sheet open.
    sheet = openEditor();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->rowButton(0)->text(), "Week-Day(s)");
    sheet->dayOfMonth()->showPopup();
    sheet->dayOfMonth()->hidePopup();
    EXPECT_TRUE(sheet->rowButton(3)->isChecked());
    EXPECT_TRUE(sheet->dayOfMonth()->isEnabled());
    sheet->dayOfMonth()->setCurrentIndex(14);
    sheet->emailBox()->click();
    EXPECT_TRUE(sheet->logExtractBox()->isEnabled());
    sheet->emailField()->setText("ann@example.com,nobody");
    sheet->updateButton()->click();
    EXPECT_EQ(mAlerts.texts().value(0), "Provide a valid email address");
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(archive().first().frequency(), TarnixScheduleItem::SelectedDays) << "nothing stored";
    sheet->emailField()->setText("ann@example.com");
    sheet->updateButton()->click();
    ASSERT_TRUE(sheetClosed());
    const TarnixScheduleItem monthly = archive().first();
    EXPECT_EQ(monthly.frequency(), TarnixScheduleItem::Monthly);
    EXPECT_EQ(monthly.scheduleTime().date().day(), 15);
    EXPECT_EQ(monthly.emailids(), "ann@example.com");

    // Unticking the daily box would leave no job: asked first, and "No" keeps the job.
    mAlerts.answers = {0};
    mWindow->dailyBox()->click();
    EXPECT_EQ(archive().size(), 1);

    // Delete, by the job's identity ("Yes" is the alternate answer).
    mAlerts.answers = {0};
    trigger("DeleteItem");
    EXPECT_TRUE(mAlerts.texts().contains("Are you sure you wish to delete the Scheduled job?"));
    EXPECT_TRUE(archive().isEmpty());
    EXPECT_EQ(mWindow->table()->rowCount(), 0);
    EXPECT_EQ(store().schedulerState(), "0");
}

TEST_F(ScheduleWindowTest, RunNowIsBackedUpAndAStopEndsTheRunningJob)
{
    const QString scenario = root() + "/scenario.plist";
    ASSERT_TRUE(PropertyList::write(scenario, QVariantMap{{"lineDelayMs", 150}}));
    qputenv("TXRUVO_SCENARIO", scenario.toUtf8());
    const TarnixScheduleItem daily = record(TarnixScheduleItem::Daily, QDateTime::currentDateTime().addDays(1));
    ASSERT_TRUE(store().tarnixaddSchedulerDetails(daily).saved());
    DaemonRun daemon;
    ASSERT_TRUE(daemon.start());
    mWindow->ReloadSchedules();
    mWindow->selectRecord(daily.identityKey());

    trigger("ImmediateItem");
    EXPECT_EQ(mAlerts.texts().value(0), "The immediate backup has been scheduled, it will commence in a few seconds");
    QList<TarnixScheduleItem> records = archive();
    ASSERT_EQ(records.size(), 2) << "the one-off job comes beside the daily one";
    const TarnixScheduleItem once = records.last();
    EXPECT_EQ(once.frequency(), TarnixScheduleItem::Immediate);
    ASSERT_TRUE(waitUntil([&] { return statusOf(once) == TarnixScheduleItem::InProgress; }, 30000))
        << diagnosis(once, daemon);
    ASSERT_TRUE(waitUntil([&] { return statusOf(once) == TarnixScheduleItem::Completed; }, 60000))
        << diagnosis(once, daemon);
    expectDriveHoldsTree();

    // The next run hangs: the window's saves are refused and say so; Stop ends it as cancelled.
    ASSERT_TRUE(PropertyList::write(scenario, QVariantMap{{"stopAfterFiles", 1}, {"stopMode", "hang"}}));
    mAlerts.shown.clear();
    mWindow->selectRecord(daily.identityKey());
    trigger("ImmediateItem");
    ASSERT_EQ(archive().size(), 3);
    const TarnixScheduleItem second = archive().last();
    ASSERT_TRUE(waitUntil([&] { return statusOf(second) == TarnixScheduleItem::InProgress; }, 30000))
        << diagnosis(second, daemon);

    mWindow->ReloadSchedules();
    mWindow->selectRecord(daily.identityKey());
    ScheduleEditorSheet *sheet = openEditor();
    ASSERT_NE(sheet, nullptr);
    sheet->rowButton(1)->click();  // hourly
    sheet->updateButton()->click();
    EXPECT_TRUE(sheet->isVisible()) << "the sheet stays open";
    EXPECT_TRUE(sheet->notSavedText()->isVisibleTo(sheet));
    EXPECT_EQ(sheet->notSavedText()->text(), TarnixSchedulerController::kHeldBackMessage);
    EXPECT_EQ(archived(daily)->frequency(), TarnixScheduleItem::Daily);
    sheet->reject();
    ASSERT_TRUE(sheetClosed());

    // The panel's change is refused as well, and says so until the next change.
    mWindow->selectRecord(daily.identityKey());
    mWindow->panelMissedBox()->click();
    EXPECT_EQ(mWindow->noteText()->text(), TarnixSchedulerController::kHeldBackMessage);
    EXPECT_FALSE(mWindow->panelMissedBox()->isChecked()) << "the panel shows what the file holds";
    mWindow->ReloadSchedules();
    EXPECT_EQ(mWindow->noteText()->text(), TarnixSchedulerController::kHeldBackMessage);
    EXPECT_FALSE(archived(daily)->shouldStartMissedScheduleBackup());

    mWindow->selectRecord(daily.identityKey());  // Stop asks about the running job, whichever is selected
    mAlerts.shown.clear();
    mAlerts.answers = {1};
    trigger("StopTransferItem");
    EXPECT_EQ(mAlerts.texts().value(0), "Are you sure you wish to stop the scheduled backup operation?");
    ASSERT_TRUE(waitUntil([&] { return statusOf(second) == TarnixScheduleItem::Canceled; }, 30000))
        << diagnosis(second, daemon);
    EXPECT_EQ(archived(daily)->frequency(), TarnixScheduleItem::Daily);
}

}  // namespace

namespace {

TEST_F(ScheduleWindowTest, PanelSavesEachChangeAndAsksBeforeRemovingTheUsersJobs)
{
    const TarnixScheduleItem daily = record(TarnixScheduleItem::Daily, QDateTime::currentDateTime().addDays(1));
    TarnixScheduleItem bobs = record(TarnixScheduleItem::Hourly, QDateTime::currentDateTime().addDays(1));
    bobs.setUsername("bob");
    bobs.setTarnixUserName("bob");
    ASSERT_TRUE(store().tarnixaddSchedulerDetails(daily).saved());
    ASSERT_TRUE(store().tarnixaddSchedulerDetails(bobs).saved());
    mWindow->ReloadSchedules();
    mWindow->selectRecord(daily.identityKey());
    EXPECT_EQ(mWindow->dailyBox()->text(), "Daily schedule");

    mWindow->dayCells()->item(0)->click();
    mWindow->dayCells()->item(6)->click();
    EXPECT_EQ(archived(daily)->frequency(), TarnixScheduleItem::SelectedDays);
    EXPECT_EQ(archived(daily)->selectedDaysForSchedule(), (QVariantList{"1", "2", "3", "4", "5"}));
    EXPECT_EQ(mWindow->dailyBox()->text(), "Week-Day(s)");
    EXPECT_EQ(mWindow->selectedIdentity(), daily.identityKey());

    // The desktop-notification box keeps its sense through a save and a show.
    ASSERT_TRUE(mWindow->panelDesktopBox()->isChecked());
    mWindow->panelDesktopBox()->click();
    EXPECT_TRUE(archived(daily)->notifyOnFailure());
    mWindow->ReloadSchedules();
    EXPECT_FALSE(mWindow->panelDesktopBox()->isChecked());

    // The editor's cut-off: "No" leaves the box off, recorded under the job's user.
    mWindow->selectRecord(bobs.identityKey());
    ScheduleEditorSheet *sheet = openEditor();
    ASSERT_NE(sheet, nullptr);
    mAlerts.answers = {1};
    sheet->cutoffBox()->click();
    EXPECT_FALSE(sheet->cutoffBox()->isChecked());
    EXPECT_FALSE(sheet->cutoffPicker()->isEnabled());
    const QVariantMap preferences =
        PropertyList::readDictionary(PathStandardizer::standardizePath(QLLocalizedString("ApplicationPreferenceFile")));
    ASSERT_TRUE(preferences.value("bob").toMap().contains("EnableCutoffTimeKey"));
    EXPECT_FALSE(preferences.value("bob").toMap().value("EnableCutoffTimeKey").toBool());
    sheet->reject();
    ASSERT_TRUE(sheetClosed());

    // Unticking the last day removes the user's jobs, once the user says so.
    mWindow->selectRecord(daily.identityKey());
    mAlerts.shown.clear();
    mAlerts.answers = {1};
    for (int day = 1; day <= 5; ++day)
        mWindow->dayCells()->item(day)->click();
    ASSERT_EQ(mAlerts.shown.size(), 1);
    EXPECT_FALSE(archived(daily));
    EXPECT_TRUE(archived(bobs)) << "another user's job stays";
}

}  // namespace

namespace {

TEST_F(ScheduleWindowTest, RefreshFollowsTheDaemonButNotOverTheUsersTyping)
{
    const TarnixScheduleItem daily = record(TarnixScheduleItem::Daily, QDateTime::currentDateTime().addDays(1));
    const TarnixScheduleItem hourly = record(TarnixScheduleItem::Hourly, QDateTime::currentDateTime().addDays(1));
    ASSERT_TRUE(store().tarnixaddSchedulerDetails(daily).saved());
    ASSERT_TRUE(store().tarnixaddSchedulerDetails(hourly).saved());
    mWindow->ReloadSchedules();
    mWindow->selectRecord(hourly.identityKey());

    // The daemon rewrites the archive in another order, the hourly job running.
    auto contents = ScheduleArchive::read(store().paths().archive);
    ASSERT_TRUE(contents);
    std::swap(contents->records[0], contents->records[1]);
    contents->records[0].setStatus(TarnixScheduleItem::InProgress);
    ASSERT_TRUE(ScheduleArchive::write(store().paths().archive, *contents));
    ASSERT_TRUE(waitUntil([this] { return !mWindow->noteText()->text().isEmpty(); }, 5000)) << "the timer's reload";
    EXPECT_EQ(mWindow->selectedIdentity(), hourly.identityKey()) << "the job stays selected, not the row";
    EXPECT_FALSE(mWindow->dailyBox()->isEnabled());
    const QMap<QString, bool> menu = menuStates();
    EXPECT_TRUE(menu.value("Stop Transfer"));

    // Delete of a running job is refused; the other job is typed into undisturbed.
    trigger("DeleteItem");
    EXPECT_EQ(mAlerts.texts().value(0), "You cannot delete a scheduled job which is in progress.");
    EXPECT_EQ(archive().size(), 2);
    mWindow->selectRecord(daily.identityKey());
    mWindow->panelEmailBox()->setEnabled(true);
    mWindow->panelEmailField()->setEnabled(true);
    mWindow->panelEmailField()->setFocus();
    mWindow->panelEmailField()->setText("ann@exa");
    mWindow->ReloadSchedules();
    EXPECT_EQ(mWindow->panelEmailField()->text(), "ann@exa");
}

}  // namespace

namespace {

TEST_F(ScheduleWindowTest, PanelChangeOfTheTimeKeepsAMonthlyJob)
{
    const TarnixScheduleItem monthly = record(TarnixScheduleItem::Monthly, QDateTime::currentDateTime().addDays(3));
    ASSERT_TRUE(store().tarnixaddSchedulerDetails(monthly).saved());
    mWindow->ReloadSchedules();
    mWindow->selectRecord(monthly.identityKey());
    EXPECT_FALSE(mWindow->dailyBox()->isChecked());
    EXPECT_FALSE(mWindow->immediateBox()->isChecked());

    const QDateTime later = monthly.scheduleTime().addSecs(3600);
    mWindow->panelTimePicker()->setDateTime(later);
    emit mWindow->panelTimePicker()->editingFinished();
    EXPECT_TRUE(mAlerts.shown.isEmpty()) << "nothing to ask: no job goes";
    ASSERT_TRUE(archived(monthly));
    EXPECT_EQ(archived(monthly)->frequency(), TarnixScheduleItem::Monthly);
    EXPECT_EQ(archived(monthly)->scheduleTime().time().hour(), later.time().hour());
}

}  // namespace
