// The control files the status menu writes for the daemon.

#include "monitor/control/ScheduledJobControl.h"

#include "support/SandboxFixture.h"

#include "common/texts/QLLocalizedString.h"
#include "platform/PathTemplate.h"
#include "platform/PropertyList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

using BackupNow = ScheduledJobControl::BackupNow;

class ScheduledJobControlTest : public SandboxFixture
{
protected:
    void SetUp() override
    {
        SandboxFixture::SetUp();
        writePlist(QLLocalizedString("LastUserLoginDetailsFilePath"), QVariantMap{{"TarnixUsername", "ann"}});
        store = std::make_unique<TarnixSchedulerController>();
        control = std::make_unique<ScheduledJobControl>(*store, nullptr);
    }
    void TearDown() override
    {
        control.reset();
        store.reset();
        SandboxFixture::TearDown();
    }

    static void writePlist(const QString &path, const QVariant &value)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        ASSERT_TRUE(PropertyList::write(path, value));
    }
    static QString userFile(const QString &key)
    {
        return QDir::cleanPath(PathTemplate::fillTemplate(QLLocalizedString(key), {QStringLiteral("ann")}));
    }
    static QString text(const QString &path) { return QString::fromUtf8(readText(path)); }

    TarnixScheduleItem job(int status = 0)
    {
        TarnixScheduleItem item;
        item.setUsername("ann");
        item.setTarnixUserName("ann");
        item.setStatus(status);
        return item;
    }
    // The schedule store's Backup now: it adds the item.
    ScheduledJobControl::MakeImmediateItem storing(std::optional<TarnixScheduleItem> item)
    {
        return [this, item] {
            ScheduledJobControl::StoredItem stored{item, {}};
            if (item)
                stored.saved = store->tarnixaddSchedulerDetails(*item);
            return stored;
        };
    }

    std::unique_ptr<TarnixSchedulerController> store;
    std::unique_ptr<ScheduledJobControl> control;
};

TEST_F(ScheduledJobControlTest, PauseAndResumeOfAStorageServerUser)
{
    writeText(userFile("RuvoUserDetails"), "x");
    const QString throttle = userFile("BandwidthThrottleFilePathForRuvo");
    const QString folder = QFileInfo(throttle).absolutePath();
    writeText(throttle, "512");

    control->pauseResume(true);
    EXPECT_EQ(text(throttle), "-1");
    EXPECT_EQ(text(folder + "/TXThrottleB.txt"), "-1");
    EXPECT_EQ(text(folder + "/pause.txt"), "1");
    EXPECT_FALSE(QFileInfo::exists(userFile("BandwidthThrottleFilePath")));

    // A monitor started again resumes with the value the pause replaced.
    control = std::make_unique<ScheduledJobControl>(*store, nullptr);
    control->pauseResume(false);
    EXPECT_EQ(text(throttle), "512");
    EXPECT_EQ(text(folder + "/TXThrottleB.txt"), "512");
    EXPECT_EQ(text(folder + "/pause.txt"), "0");

    // Without a limit at pause time, resume leaves none (never an empty value).
    QFile::remove(throttle);
    control->pauseResume(true);
    control->pauseResume(false);
    EXPECT_FALSE(QFileInfo::exists(throttle));
    EXPECT_FALSE(QFileInfo::exists(folder + "/TXThrottleB.txt"));
}

TEST_F(ScheduledJobControlTest, BackupNowQueuesOneImmediateRequest)
{
    const ScheduledJobControl::Answer none = control->backupNow(storing(std::nullopt));
    EXPECT_EQ(none.result, BackupNow::NoBackupSet);
    EXPECT_EQ(none.message, "Please login to the Tarnix and configure a backup set");
    EXPECT_FALSE(store->schedulerState());

    EXPECT_EQ(control->backupNow(storing(job())).result, BackupNow::Scheduled);
    EXPECT_EQ(store->schedulerState(), "2");
    const QByteArray archive = readText(store->paths().archive);
    const ScheduledJobControl::Answer again = control->backupNow(storing(job()));
    EXPECT_EQ(again.result, BackupNow::AlreadyScheduled);
    EXPECT_EQ(again.message, "Immediate schedule has already been scheduled. Please try after it completes.");
    EXPECT_EQ(readText(store->paths().archive), archive) << "nothing written";

    // The daemon took the request and runs it: the next Backup now is not saved, and says so.
    store->writeSchedulerState("0");
    TarnixScheduleItem running = store->configuredSchedules().first();
    running.setStatus(TarnixScheduleItem::InProgress);
    ASSERT_TRUE(ScheduleArchive::write(store->paths().archive, {{running}, {}, {}}));
    const ScheduledJobControl::Answer held = control->backupNow(storing(job()));
    EXPECT_EQ(held.result, BackupNow::NotSaved);
    EXPECT_EQ(held.message, TarnixSchedulerController::kHeldBackMessage);
    EXPECT_EQ(store->schedulerState(), "0");
}

TEST_F(ScheduledJobControlTest, BackupNowWaitsForTheUsersInteractiveBackup)
{
    writePlist(QLLocalizedString("ApplicationStatusPath"), QVariantMap{{"Interactive", "ann"}});
    const ScheduledJobControl::Answer answer = control->backupNow(storing(job()));
    EXPECT_EQ(answer.result, BackupNow::InteractiveRunning);
    EXPECT_EQ(answer.message, "Backup is in progress. Wait till it is complete to begin the backup on this machine.");
    EXPECT_FALSE(QFileInfo::exists(store->paths().archive));
    EXPECT_FALSE(store->schedulerState());
    EXPECT_TRUE(control->isBackupInProgress());
}

TEST_F(ScheduledJobControlTest, DisableEnableAndTheProgressRequest)
{
    control->removeAllSchedules(true);
    EXPECT_EQ(text(QLLocalizedString("SchedulerStatus")), "0");
    EXPECT_TRUE(control->areAllSchedulesDisabled());
    control->removeAllSchedules(false);
    EXPECT_EQ(text(QLLocalizedString("SchedulerStatus")), "1");

    EXPECT_EQ(control->showProgress(false), "No backup operation is in progress");
    EXPECT_FALSE(QFileInfo::exists(QLLocalizedString("SchedulerProgress")));
    ASSERT_TRUE(store->tarnixaddSchedulerDetails(job()).saved());
    writePlist(QLLocalizedString("ApplicationStatusPath"), QVariantMap{{"Schedule", "ann"}});
    EXPECT_EQ(control->showProgress(false), "");
    EXPECT_EQ(text(QLLocalizedString("SchedulerProgress")), "1");
}

TEST_F(ScheduledJobControlTest, CutOffFiresOnceWhenItsTimeHasCome)
{
    ASSERT_TRUE(ScheduleArchive::write(store->paths().archive, {{job(TarnixScheduleItem::InProgress)}, {}, {}}));
    const QDate day(2026, 1, 5);
    const auto at = [&day](int h, int m, int s) { return QDateTime(day, QTime(h, m, s)); };
    writePlist(QLLocalizedString("ApplicationPreferenceFile"),
               QVariantMap{{"ann", QVariantMap{{"EnableCutoffTimeKey", true},
                                               {"CutoffTimeKey", QDateTime(QDate(2020, 3, 1), QTime(22, 30))}}}});
    struct Case
    {
        std::optional<QDateTime> earlierCheck;
        QDateTime check;
        bool fires;
    };
    const Case cases[] = {
        {std::nullopt, at(22, 30, 59), true},
        {std::nullopt, at(22, 31, 0), false},    // past its minute: a job started later runs on
        {at(22, 29, 50), at(22, 31, 10), true},  // the check in its minute was missed
        {at(22, 20, 0), at(22, 29, 59), false},
    };
    for (const Case &c : cases) {
        ScheduledJobControl fresh(*store, nullptr);
        store->writeSchedulerState("0");
        if (c.earlierCheck)
            fresh.triggerCutOffBackup(*c.earlierCheck);
        EXPECT_EQ(fresh.triggerCutOffBackup(c.check), c.fires) << c.check.toString().toStdString();
        EXPECT_EQ(store->schedulerState(), c.fires ? "5" : "0");
        if (c.fires) {
            EXPECT_FALSE(fresh.triggerCutOffBackup(c.check.addSecs(1))) << "once";
        }
    }
}

}  // namespace
