// The status refresh: the quota warning and the next-job tool tip.

#include "monitor/status/StatusRefresh.h"

#include "monitor/schedules/TarnixSchedulerController.h"
#include "support/SandboxFixture.h"

#include "common/context/ProgramContext.h"
#include "common/texts/QLLocalizedString.h"
#include "common/texts/TextTable.h"
#include "platform/PathTemplate.h"
#include "platform/PropertyList.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

using Blink = StatusRefresh::Blink;

const QString kExceeded = "You have exceeded the allocated quota limit. For further backups you have to upgrade your "
                          "account. Click the 'Upgrade Storage' menu item to upgrade your Tarnix account";

class StatusRefreshTest : public SandboxFixture
{
protected:
    void SetUp() override
    {
        SandboxFixture::SetUp();
        writePlist(QLLocalizedString("LastUserLoginDetailsFilePath"), QVariantMap{{"TarnixUsername", "ann"}});
        store = std::make_unique<TarnixSchedulerController>();
        refresh = std::make_unique<StatusRefresh>(*store);
    }
    void TearDown() override
    {
        refresh.reset();
        store.reset();
        SandboxFixture::TearDown();
    }

    static void writePlist(const QString &path, const QVariant &value)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        ASSERT_TRUE(PropertyList::write(path, value));
    }
    static QString userFile(const QString &key) { return PathTemplate::fillTemplate(QLLocalizedString(key), {"ann"}); }
    static void setQuota(double total, double used)
    {
        writePlist(userFile("UserDetailsPath"), QVariantMap{{"TOTALQUOTASIZE", total}, {"USEDQUOTASIZE", used}});
    }

    const QDateTime now = QDateTime(QDate(2026, 1, 5), QTime(12, 0));
    std::unique_ptr<TarnixSchedulerController> store;
    std::unique_ptr<StatusRefresh> refresh;
};

TEST_F(StatusRefreshTest, QuotaWarningBlinksOnceAndStopsWhenTheQuotaRecovers)
{
    setQuota(100, 89.6);
    StatusRefresh::Outcome outcome = refresh->checkForTotalQuota(now);
    EXPECT_EQ(outcome.blink, Blink::Start);
    EXPECT_EQ(outcome.toolTip, kExceeded);
    EXPECT_EQ(refresh->checkForTotalQuota(now).blink, Blink::Unchanged) << "one timer";
    EXPECT_TRUE(refresh->isBlinking());

    setQuota(100, 89.4);
    outcome = refresh->checkForTotalQuota(now);
    EXPECT_EQ(outcome.blink, Blink::Stop);
    EXPECT_TRUE(outcome.resetImages);
    EXPECT_EQ(outcome.toolTip, "You have no scheduled jobs");
    EXPECT_FALSE(refresh->isBlinking());
}

TEST_F(StatusRefreshTest, ToolTipTellsTheNextJobUnlessAllAreDisabled)
{
    setQuota(1024, 1);
    TarnixScheduleItem daily;
    daily.setUsername("ann");
    daily.setTarnixUserName("ann");
    daily.setScheduleTime(QDateTime(QDate(2026, 1, 5), QTime(21, 4, 9)));
    ASSERT_TRUE(store->tarnixaddSchedulerDetails(daily).saved());
    EXPECT_EQ(refresh->checkForTotalQuota(now).toolTip,
              "Your next scheduled backup will start on Mon Jan 05 2026 09:04:09 PM");
    writeText(QLLocalizedString("SchedulerStatus"), "0");
    EXPECT_EQ(refresh->checkForTotalQuota(now).toolTip, "You have disabled all your scheduled job(s)");
}

TEST_F(StatusRefreshTest, NoQuotaPlistOrTheSecondBrandLeavesTheTrayAsItIs)
{
    StatusRefresh::Outcome outcome = refresh->checkForTotalQuota(now);
    EXPECT_FALSE(outcome.toolTip);
    EXPECT_FALSE(outcome.resetImages);

    setQuota(100, 99);
    qputenv("TX_BRAND", "Quellon");
    ProgramContext::current().texts().reload();
    outcome = refresh->checkForTotalQuota(now);
    EXPECT_EQ(outcome.blink, Blink::Unchanged);
    EXPECT_FALSE(outcome.toolTip);
}

TEST_F(StatusRefreshTest, TheScheduleWindowRequestIsTakenOnce)
{
    writePlist(userFile("BackupFailCountFilePath"), QVariantMap{{"ViewScheduleDetails", true}, {"Other", 3}});
    EXPECT_TRUE(refresh->checkForTotalQuota(now).openScheduleWindow);
    EXPECT_FALSE(refresh->checkForTotalQuota(now).openScheduleWindow);
    EXPECT_EQ(PropertyList::readDictionary(userFile("BackupFailCountFilePath")).value("Other"), 3);
}

}  // namespace
