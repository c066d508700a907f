// What the schedule window does to the schedules, on the real store and files:
// checks come before any change, records are found by identity, and the state
// file asks the daemon for a run only when a record was stored.

#include "monitor/editor/ScheduleActionsController.h"
#include "monitor/editor/ScheduleMenuRules.h"
#include "monitor/schedules/ScheduleArchive.h"

#include "support/SandboxFixture.h"

#include "platform/PropertyList.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

using Saved = TarnixSchedulerController::Saved;

class ScheduleActionsTest : public SandboxFixture
{
protected:
    void SetUp() override
    {
        SandboxFixture::SetUp();
        mStore = std::make_unique<TarnixSchedulerController>(TarnixSchedulerController::Paths{
            root() + "/Schedules.archive", root() + "/SchedulerState", root() + "/MultipleMac.plist", "MyTarnix"});
        mActions = std::make_unique<ScheduleActionsController>(
            *mStore, ScheduleActionsController::Paths{root() + "/LastUser.plist", root() + "/Preferences.plist"});
        ASSERT_TRUE(PropertyList::write(root() + "/set.plist", QVariantList{root() + "/tree"}));
        ASSERT_TRUE(PropertyList::write(root() + "/empty-set.plist", QVariantList{}));
    }

    TarnixScheduleItem job(const QString &user, int frequency, int status = TarnixScheduleItem::NoStatus,
                           const QString &set = QString()) const
    {
        TarnixScheduleItem record;
        record.setUsername(user);
        record.setTarnixUserName(user);
        record.setFrequency(frequency);
        record.setStatus(status);
        record.setDestination("MyTarnix");
        record.setProcessReferenceFile(set.isEmpty() ? root() + "/set.plist" : set);
        return record;
    }
    // The daemon's hand: records written straight into the archive.
    void writeArchive(const QList<TarnixScheduleItem> &records) const
    {
        ASSERT_TRUE(ScheduleArchive::write(mStore->paths().archive, {records, {}, {}}));
        mStore->tarnixInitializeSchedulerSettings();
    }
    QList<TarnixScheduleItem> archived() const { return ScheduleArchive::read(mStore->paths().archive)->records; }

    std::unique_ptr<TarnixSchedulerController> mStore;
    std::unique_ptr<ScheduleActionsController> mActions;
};

TEST_F(ScheduleActionsTest, RunNowChecksBeforeItChangesAnything)
{
    const QDateTime now(QDate(2026, 3, 2), QTime(10, 0));
    struct Case
    {
        const char *name;
        TarnixScheduleItem selected;
        QList<TarnixScheduleItem> others;
        QString message;
    };
    const QList<Case> cases{
        {"running", job("ann", 2, TarnixScheduleItem::InProgress), {}, ScheduleActionsController::kAlreadyImmediate},
        {"another user's one-off waits", job("ann", 2), {job("bob", 0)}, ScheduleActionsController::kAlreadyImmediate},
        {"no backup set", job("ann", 2, 0, root() + "/missing.plist"), {}, ScheduleActionsController::kNoBackupSet},
        {"empty backup set",
         job("ann", 2, 0, root() + "/empty-set.plist"),
         {},
         ScheduleActionsController::kNoBackupSet},
    };
    for (const Case &c : cases) {
        writeArchive(QList<TarnixScheduleItem>{c.selected} + c.others);
        ASSERT_TRUE(mStore->writeSchedulerState("0"));
        const auto answer = mActions->runNow(c.selected.identityKey(), now);
        EXPECT_FALSE(answer.stored) << c.name;
        EXPECT_EQ(answer.message, c.message) << c.name;
        EXPECT_EQ(archived().size(), c.others.size() + 1) << c.name << ": the user's jobs are all kept";
        EXPECT_EQ(mStore->schedulerState(), "0") << c.name << ": no run is asked for";
    }
}

TEST_F(ScheduleActionsTest, RunNowAddsAOneOffBesideTheJobsAndAsksForItOnlyFromIdle)
{
    const QDateTime now(QDate(2026, 3, 2), QTime(10, 0));  // a Monday
    const TarnixScheduleItem daily = job("ann", TarnixScheduleItem::Daily);
    TarnixScheduleItem ended = job("bob", TarnixScheduleItem::Immediate, TarnixScheduleItem::Completed);
    for (const std::optional<QString> &state :
         {std::optional<QString>("0"), std::optional<QString>("3"), std::optional<QString>()}) {
        writeArchive({daily, ended});  // an ended one-off job does not block a new one
        QFile::remove(mStore->paths().schedulerState);
        if (state) {
            ASSERT_TRUE(mStore->writeSchedulerState(*state));
        }
        const auto answer = mActions->runNow(daily.identityKey(), now);
        ASSERT_TRUE(answer.stored) << answer.message.toStdString();
        const QList<TarnixScheduleItem> records = archived();
        ASSERT_EQ(records.size(), 3);
        EXPECT_EQ(records[0].identityKey(), daily.identityKey());
        const TarnixScheduleItem &once = records[2];
        EXPECT_EQ(once.frequency(), TarnixScheduleItem::Immediate);
        EXPECT_EQ(once.scheduleTime(), now.addSecs(45));
        EXPECT_EQ(TarnixScheduleItem::dayIndexes(once.selectedDaysForSchedule()), QList<int>{1});
        EXPECT_NE(once.identityKey(), daily.identityKey());
        // "2" only over "0"; a stop request stays, a missing file stays missing.
        EXPECT_EQ(mStore->schedulerState(), state == QString("0") ? std::optional<QString>("2") : state);
    }
}

TEST_F(ScheduleActionsTest, EditOfARecordIsRefusedWhileAJobRunsAndReplacesByIdentity)
{
    const TarnixScheduleItem first = job("ann", TarnixScheduleItem::Daily);
    const TarnixScheduleItem second = job("ann", TarnixScheduleItem::Hourly);
    writeArchive({first, second});
    TarnixScheduleItem edited = second;
    edited.setFrequency(TarnixScheduleItem::Monthly);
    ASSERT_TRUE(mActions->saveEdit(second, edited, false).saved());
    EXPECT_EQ(archived()[0].frequency(), TarnixScheduleItem::Daily)
        << "the first of the user's jobs is not the one edited";
    EXPECT_EQ(archived()[1].frequency(), TarnixScheduleItem::Monthly);

    writeArchive({first, second, job("bob", TarnixScheduleItem::Immediate, TarnixScheduleItem::InProgress)});
    const auto refused = mActions->saveEdit(second, edited, false);
    EXPECT_EQ(refused.result, Saved::HeldBack);
    EXPECT_EQ(archived()[1].frequency(), TarnixScheduleItem::Hourly);

    writeArchive({first});
    EXPECT_EQ(mActions->saveEdit(second, edited, false).result, Saved::Failed) << "a job deleted meanwhile";
    EXPECT_EQ(archived().size(), 1);
}

TEST_F(ScheduleActionsTest, OneOffTurnedRepeatingReplacesTheUsersRepeatingJobs)
{
    const TarnixScheduleItem once = job("ann", TarnixScheduleItem::Immediate);
    const TarnixScheduleItem weekly = job("ann", TarnixScheduleItem::SelectedDays);
    const TarnixScheduleItem bobs = job("bob", TarnixScheduleItem::Daily);
    writeArchive({once, weekly, bobs});
    TarnixScheduleItem daily = once;
    daily.setFrequency(TarnixScheduleItem::Daily);
    ASSERT_TRUE(mActions->saveEdit(once, daily, true).saved());
    const QList<TarnixScheduleItem> records = archived();
    ASSERT_EQ(records.size(), 2);
    EXPECT_EQ(records[0].identityKey(), once.identityKey());
    EXPECT_EQ(records[0].frequency(), TarnixScheduleItem::Daily);
    EXPECT_EQ(records[1].identityKey(), bobs.identityKey());
}

TEST_F(ScheduleActionsTest, PanelCreatesAOneOffFromTheLoginWhenTheUserHasNoJob)
{
    ASSERT_TRUE(
        PropertyList::write(root() + "/LastUser.plist",
                            QVariantMap{{"Username", "ann"}, {"TarnixUsername", "ann"}, {"serverName", "srv"}}));
    SchedulePanel panel;
    panel.immediateOn = true;
    panel.time = QDateTime(QDate(2026, 3, 2), QTime(10, 0));
    ASSERT_TRUE(mActions->savePanel(mActions->loginUsername(), panel).saved());
    const QList<TarnixScheduleItem> records = archived();
    ASSERT_EQ(records.size(), 1);
    EXPECT_EQ(records[0].frequency(), TarnixScheduleItem::Immediate);
    EXPECT_TRUE(records[0].displayDesktopNotification());
    EXPECT_TRUE(records[0].isUseSSL());
    EXPECT_EQ(records[0].serverName(), "srv");
    EXPECT_EQ(records[0].scheduleTime(), panel.time);

    // Without a box on, nothing is made.
    ASSERT_TRUE(mActions->removeJobsOfUser("ann").saved());
    ASSERT_TRUE(mActions->savePanel("ann", SchedulePanel{}).saved());
    EXPECT_TRUE(archived().isEmpty());
}

TEST_F(ScheduleActionsTest, CutoffIsKeptUnderTheUsersTarnixName)
{
    const SchedulerPreferences preferences = mActions->preferences();
    const QDateTime cutoff(QDate(2026, 3, 2), QTime(22, 15));
    ASSERT_TRUE(preferences.write("ann", {true, cutoff, true, false}));
    ASSERT_TRUE(preferences.writeCutoff("bob", false, cutoff));
    const QVariantMap file = PropertyList::readDictionary(root() + "/Preferences.plist");
    EXPECT_TRUE(file.value("ann").toMap().value("EnableCutoffTimeKey").toBool());
    EXPECT_TRUE(file.value("DesktopNotificationKey ").toBool());
    const SchedulerPreferences::Settings ann = preferences.read("ann");
    EXPECT_TRUE(ann.cutoffOn);
    EXPECT_EQ(ann.cutoff, cutoff);
    EXPECT_FALSE(preferences.read("bob").cutoffOn);
    EXPECT_TRUE(preferences.read("bob").desktopNotification) << "one value for every user";
}

TEST(ScheduleMenuRulesTest, CommandsFollowTheSelection)
{
    using Command = ScheduleMenuRules::Command;
    TarnixScheduleItem completed;
    completed.setStatus(TarnixScheduleItem::Completed);
    TarnixScheduleItem running;
    running.setStatus(TarnixScheduleItem::InProgress);
    for (Command command : {Command::Edit, Command::Immediate, Command::Refresh, Command::Stop, Command::Delete}) {
        EXPECT_FALSE(ScheduleMenuRules::isEnabled(command, std::nullopt));
        EXPECT_EQ(ScheduleMenuRules::isEnabled(command, completed), command != Command::Stop);
        EXPECT_TRUE(ScheduleMenuRules::isEnabled(command, running));
    }
}

}  // namespace
