// What the notification window shows for a payload, and where it stands.

#include "monitor/notify/NotificationRules.h"
#include "monitor/notify/DisplayController.h"
#include "monitor/notify/NotificationView.h"

#include "support/SandboxFixture.h"

#include <gtest/gtest.h>

namespace {

using namespace NotificationRules;

class NotificationRulesTest : public SandboxFixture
{};

TEST_F(NotificationRulesTest, VisibilityOfTheBlocks)
{
    struct Case
    {
        bool onRequest;
        bool business;
        QVariantMap payload;
        bool hidden, counts, upgrade;
    };
    const QList<Case> cases = {
        {false, false, {{kShouldForceHide, "YES"}}, true, false, false},
        {true, false, {{kShouldForceHide, "YES"}, {kAccountType, "Personal"}}, false, false, false},
        {false, false, {{kAccountType, "Personal"}, {kPercentageQuota, "99"}}, false, true, false},
        {false, false, {{kAccountType, "Personal"}, {kPercentageQuota, "100"}}, false, true, true},
        {false, true, {{kAccountType, "Personal"}, {kPercentageQuota, "100"}}, false, true, false},
        {false, false, {{kPercentageQuota, "10"}}, false, true, true},  // no account type: the offer shows
        {false, false, {{kErrorMessage, "failed"}, {kAccountType, "Business"}}, false, false, true},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(isHidden(c.onRequest, c.payload), c.hidden) << c.payload.keys().join(',').toStdString();
        if (c.hidden)
            continue;
        const State s = state(c.onRequest, c.business, c.payload);
        EXPECT_EQ(s.countsVisible, c.counts) << c.payload.keys().join(',').toStdString();
        EXPECT_EQ(s.upgradeVisible, c.upgrade) << c.payload.keys().join(',').toStdString();
    }
}

TEST_F(NotificationRulesTest, LineCounts)
{
    EXPECT_EQ(calculateTotalLinesFromText(QString(70, 'a')), 1);
    EXPECT_EQ(calculateTotalLinesFromText(QString(71, 'a')), 2);
    EXPECT_EQ(calculateTotalLinesFromText("first\n\nsecond"), 3);
    EXPECT_EQ(calculateTotalLinesFromText(""), 1);
}

TEST_F(NotificationRulesTest, TextsOfThePayload)
{
    const State failed = state(false, false,
                               {{kFailureCount, "3"},
                                {kSuccessCount, "7"},
                                {kUsername, "ann"},
                                {kUsedQuota, "1 MB"},
                                {kTotalQuota, "2 GB"},
                                {kNextScheduledItem, "Mon"}});
    EXPECT_TRUE(failed.failureRowVisible);
    EXPECT_EQ(failed.failureText, "3 files");
    EXPECT_EQ(failed.successText, "7 files");
    EXPECT_EQ(failed.quotaText, "1 MB out of 2 GB");
    EXPECT_EQ(failed.upgradeText, "Your Mac data is only protected upto 2 GB");
    EXPECT_EQ(failed.nextJobText, "Your next scheduled backup will start on Mon");
    EXPECT_EQ(failed.userName, "ann");

    const State none = state(false, false, {{kFailureCount, "0"}});
    EXPECT_FALSE(none.failureRowVisible);
    EXPECT_EQ(none.nextJobText, "You have no scheduled jobs");
    EXPECT_FALSE(none.userName) << "an absent user keeps the label";

    // The status text wins; the window keeps the growth of the error text.
    const State both =
        state(false, false, {{kErrorMessage, "a\n\nb"}, {kStatusMessage, "Scheduled backup is in progress"}});
    EXPECT_EQ(both.nextJobText, "Scheduled backup is in progress");
    EXPECT_EQ(both.nextJobExtraLines, 3);
}

class FixedScreen : public NotificationView
{
public:
    QRect availableGeometry() const override { return available; }
    void showNotification(const State &, const QRect &f, int height) override
    {
        frame = f;
        nextJobHeight = height;
        ++shown;
    }
    void hideNotification() override {}
    QRect available{0, 30, 1600, 1170};
    QRect frame;
    int nextJobHeight = 0;
    int shown = 0;
};

TEST_F(NotificationRulesTest, PlacedAtTheTopRightOfTheUsableArea)
{
    FixedScreen screen;
    const NotificationDesign design;
    DisplayController display(screen, design);

    display.displayDesktopNotfn(false, false, {{kAccountType, "Personal"}, {kPercentageQuota, "100"}});
    EXPECT_EQ(screen.frame, QRect(1600 - design.width, 30, design.width, design.fullHeight()))
        << "flush right, on screen";

    display.displayDesktopNotfn(false, false,
                                {{kErrorMessage, "a\n\nb"}, {kAccountType, "Personal"}, {kPercentageQuota, "100"}});
    EXPECT_EQ(screen.frame.right() + 1, 1600 - DisplayController::kLaterDisplayInset) << "later ones stand 20 in";
    EXPECT_EQ(screen.frame.top(), 30);
    EXPECT_EQ(screen.frame.height(), design.fullHeight() - design.countsHeight + 54);
    EXPECT_EQ(screen.nextJobHeight, design.nextJobHeight + 54);

    // The next display starts again from the design.
    display.displayDesktopNotfn(true, false, {{kAccountType, "Personal"}, {kPercentageQuota, "100"}});
    EXPECT_EQ(screen.frame.height(), design.fullHeight() - design.countsHeight) << "on request: no counts";
    EXPECT_EQ(screen.nextJobHeight, design.nextJobHeight);

    display.displayDesktopNotfn(false, false, {{kShouldForceHide, "YES"}});
    EXPECT_EQ(screen.shown, 3);

    // A screen narrower than the window keeps its left edge on screen.
    screen.available = QRect(100, 0, 200, 300);
    display.displayDesktopNotfn(true, true, {});
    EXPECT_EQ(screen.frame.left(), 100);
    EXPECT_EQ(screen.frame.top(), 0);
}

}  // namespace
