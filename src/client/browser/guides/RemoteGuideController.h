#pragma once

#include <QObject>
#include <QTimer>

#include <chrono>

// The waits of the Restore page's first-use guides.
struct RemoteGuideTimings
{
    // How long a guide stays before it hides itself.
    std::chrono::milliseconds guideVisible{std::chrono::seconds(10)};
};

// What the guides ask the Restore page to show.
class RemoteGuideView
{
public:
    virtual ~RemoteGuideView() = default;

    // The Restore guide: callouts over the tree and the bottom row.
    virtual void setRemoteGuideShown(bool shown) = 0;
    // The refresh guide: a new backup shows once the tree is listed anew.
    virtual void setRefreshGuideShown(bool shown) = 0;
};

// The first-use guides of the Restore page. The Restore guide shows at most once,
// and only when the login was the user's first (the main controller clears
// mRemoteGuideCalledOnce then and sets it on every other login). Each guide hides
// itself after a while; showing the Restore guide first hides the refresh guide.
class RemoteGuideController
{
public:
    explicit RemoteGuideController(RemoteGuideTimings timings = {});

    void setView(RemoteGuideView *view) { mView = view; }

    void setRemoteGuideCalledOnce(bool calledOnce) { mRemoteGuideCalledOnce = calledOnce; }
    bool remoteGuideCalledOnce() const { return mRemoteGuideCalledOnce; }

    // true: shows the Restore guide unless it was shown already; false hides it.
    void displayGuide(bool shown);
    void displayRefreshGuide(bool shown);
    void hideRemoteGuide() { displayGuide(false); }
    void hideRefreshGuide() { displayRefreshGuide(false); }

    bool isRemoteGuideShown() const { return mRemoteGuideShown; }
    bool isRefreshGuideShown() const { return mRefreshGuideShown; }

private:
    void showRemoteGuide(bool shown);

    RemoteGuideTimings mTimings;
    RemoteGuideView *mView = nullptr;
    bool mRemoteGuideCalledOnce = false;
    bool mRemoteGuideShown = false;
    bool mRefreshGuideShown = false;
    QTimer mRemoteGuideTimer;
    QTimer mRefreshGuideTimer;
};
