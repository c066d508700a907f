#include "BrowserFakes.h"

#include "client/browser/guides/RemoteGuideController.h"
#include "client/browser/tree/RemoteTreeController.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

// The page's guides as the controller asks for them, with how often each was shown.
class RecordingGuideView : public RemoteGuideView
{
public:
    void setRemoteGuideShown(bool shown) override
    {
        remoteShown = shown;
        remoteShowings += shown ? 1 : 0;
    }
    void setRefreshGuideShown(bool shown) override { refreshShown = shown; }

    bool remoteShown = false;
    bool refreshShown = false;
    int remoteShowings = 0;
};

bool waitUntil(const std::function<bool()> &condition, std::chrono::milliseconds timeout = 2s)
{
    QDeadlineTimer deadline(timeout);
    while (!condition() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return condition();
}

// The Restore guide from a login to the Restore tab's showings: a listing with rows
// arms it (as the sidebar's request), each showing of the tab answers an armed request.
TEST(RemoteGuideTest, TheRestoreGuideShowsOnceAndOnlyAfterAFirstLoginAndAListingWithRows)
{
    struct Case
    {
        const char *name;
        bool firstLogin;
        QList<RemoteEntry> rootListing;
        int showings;
    };
    const QList<RemoteEntry> rows = {folderEntry("Users"), fileEntry("notes.txt")};
    const QList<RemoteEntry> hiddenRows = {fileEntry(".profile"), fileEntry(".__Users.txxlist")};
    const Case cases[] = {
        {"first login, rows", true, rows, 1},   {"later login, rows", false, rows, 0},
        {"first login, no rows", true, {}, 0},  {"first login, only hidden rows", true, hiddenRows, 0},
        {"later login, no rows", false, {}, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ManualFolderListing listing;
        bool requested = false;  // the sidebar's request for the next showing
        RemoteTreeController tree(listing, {[] { return false; }, [&requested] { requested = true; }, {}});
        RecordingGuideView view;
        RemoteGuideController guides;
        guides.setView(&view);

        guides.setRemoteGuideCalledOnce(!c.firstLogin);
        tree.refresh();
        ASSERT_TRUE(listing.finish("", c.rootListing));
        for (int showing = 0; showing < 3; ++showing) {
            if (std::exchange(requested, false))
                guides.displayGuide(true);
            // The folder's contents come again at every showing: they arm a new request.
            tree.refresh();
            ASSERT_TRUE(listing.finish("", c.rootListing));
        }
        EXPECT_EQ(view.remoteShowings, c.showings);
    }
}

TEST(RemoteGuideTest, EachGuideHidesItselfAfterItsTimeAndTheRestoreGuideHidesTheRefreshGuide)
{
    RecordingGuideView view;
    RemoteGuideController guides(RemoteGuideTimings{60ms});
    guides.setView(&view);

    guides.displayRefreshGuide(true);
    EXPECT_TRUE(view.refreshShown);
    EXPECT_TRUE(waitUntil([&] { return !view.refreshShown; }));
    EXPECT_FALSE(guides.isRefreshGuideShown());

    guides.displayRefreshGuide(true);
    guides.displayGuide(true);
    EXPECT_FALSE(view.refreshShown) << "the Restore guide comes alone";
    EXPECT_TRUE(view.remoteShown);
    EXPECT_TRUE(guides.remoteGuideCalledOnce());
    EXPECT_TRUE(waitUntil([&] { return !view.remoteShown; }));

    guides.displayRefreshGuide(true);
    guides.hideRefreshGuide();
    EXPECT_FALSE(view.refreshShown);
    guides.displayGuide(true);
    EXPECT_FALSE(view.remoteShown) << "shown once already";
}

}  // namespace
