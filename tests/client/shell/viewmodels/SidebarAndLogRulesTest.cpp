#include "client/shell/sidebar/SidebarRules.h"
#include "desktop/logs/LogViewRules.h"

#include <gtest/gtest.h>

TEST(SidebarRules, SpaceUsedLabelFromTheFolderSizeRun)
{
    struct Case
    {
        QVariantMap output;
        std::optional<QString> label;
    };
    const Case cases[] = {
        {{{"fileSize", "-1"}}, std::nullopt},
        {{{"fileSize", "-2"}, {"FileCount", "3"}}, std::nullopt},
        {{{"fileSize", "2048"}, {"FileCount", "3"}}, QString("Space used on your device: 2 KB")},
        {{{"fileSize", "2048"}}, QString("Space used on your device: 2 MB")},  // kB without a file count
        {{{"fileSize", "0"}, {"FileCount", "0"}}, QString("Space used on your device: 0 B")},
    };
    for (const Case &c : cases)
        EXPECT_EQ(SidebarRules::spaceUsedText(c.output), c.label)
            << c.output.value("fileSize").toString().toStdString();
}

TEST(SidebarRules, ModeSwitchWaitsForEveryRunningOperation)
{
    EXPECT_TRUE(SidebarRules::mayToggleMode({}));
    EXPECT_FALSE(SidebarRules::mayToggleMode({.backupRunning = true}));
    EXPECT_FALSE(SidebarRules::mayToggleMode({.restoreRunning = true}));
    EXPECT_FALSE(SidebarRules::mayToggleMode({.reIndexRunning = true}));
    EXPECT_FALSE(SidebarRules::mayToggleMode({.searchRunning = true}));
    EXPECT_EQ(SidebarRules::modeFileText(false), "0");
    EXPECT_EQ(SidebarRules::modeFileText(true), "1");
    EXPECT_TRUE(SidebarRules::schedulerLineEnablesJobs("Status : Disabled"));
    EXPECT_FALSE(SidebarRules::schedulerLineEnablesJobs("Status : Disabled "));
    EXPECT_FALSE(SidebarRules::schedulerLineEnablesJobs("status : disabled"));
}

TEST(LogViewRules, PeriodsEndTodayAndIncludeIt)
{
    const QDate today(2026, 3, 31);
    EXPECT_EQ(LogViewRules::periodStart(LogViewRules::kLastWeek, today), QDate(2026, 3, 24)) << "8 days with today";
    EXPECT_EQ(LogViewRules::periodStart(LogViewRules::kLastTwoWeeks, today), QDate(2026, 3, 17));
    EXPECT_EQ(LogViewRules::periodStart(LogViewRules::kLastMonth, today), QDate(2026, 2, 28)) << "normalised";
    EXPECT_EQ(LogViewRules::periodStart(LogViewRules::kFromTheBeginning, today), std::nullopt);
    for (int tag : {0, 1, 2, 3})
        EXPECT_EQ(LogViewRules::periodForNotification(LogViewRules::periodNotificationName(tag)), tag);
    EXPECT_EQ(LogViewRules::periodNotificationName(3), "LastTwoWeeks");
    EXPECT_EQ(LogViewRules::periodForNotification("Yesterday"), std::nullopt);
}

TEST(LogViewRules, OperationNamesAndImagesByOptype)
{
    EXPECT_EQ(LogViewRules::operationName(1), "Backup");
    EXPECT_EQ(LogViewRules::operationImage(2), "schedule12px.png");
    EXPECT_EQ(LogViewRules::operationName(7), "Continuous Data Protection");
    EXPECT_EQ(LogViewRules::operationName(10), "Automatic Sync");
    for (int unknown : {0, 11, -3})
        EXPECT_EQ(LogViewRules::operationImage(unknown), "default12px.png") << unknown;
}

TEST(LogViewRules, LogsAreClippedAfter10240BytesOnAWholeCharacter)
{
    const QByteArray exact(10240, 'a');
    const auto whole = LogViewRules::shownLog(exact, exact.size());
    EXPECT_FALSE(whole.clipped);
    EXPECT_EQ(whole.text.size(), 10240);

    const QByteArray longer = QByteArray(10241, 'a');
    const auto clipped = LogViewRules::shownLog(longer.left(10240), longer.size());
    EXPECT_TRUE(clipped.clipped);
    EXPECT_EQ(clipped.text.size(), 10240);

    // "é" is two bytes; the cut falls between them and is moved back before it.
    const QByteArray cutInside = QByteArray(10239, 'a') + "\xc3\xa9" + "tail";
    const auto mended = LogViewRules::shownLog(cutInside.left(10240), cutInside.size());
    EXPECT_TRUE(mended.clipped);
    EXPECT_EQ(mended.text, QString(10239, 'a')) << "not a blank: the text up to the last whole character";

    EXPECT_EQ(LogViewRules::wholeCharacters("ab\xe2\x82"), "ab");
    EXPECT_EQ(LogViewRules::wholeCharacters("ab\xe2\x82\xac"), "ab\xe2\x82\xac");
}

TEST(LogViewRules, ColumnsCompareDatesAndNumbersByValue)
{
    EXPECT_LT(LogViewRules::compareDateTimes("Dec 09, 2026 11:00:00 PM", "Dec 10, 2026 01:00:00 AM"), 0);
    EXPECT_GT(LogViewRules::compareDateTimes("Dec 10, 2026 01:00:00 PM", "Dec 10, 2026 11:00:00 AM"), 0);
    EXPECT_LT(LogViewRules::compareNumbers("9", "10"), 0);
    EXPECT_LT(LogViewRules::compareNumbers("00:00:09", "00:00:10"), 0);
    EXPECT_EQ(LogViewRules::compareNumbers("12", "12"), 0);
}
