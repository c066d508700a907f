#include "client/browser/guides/RemoteGuideController.h"

RemoteGuideController::RemoteGuideController(RemoteGuideTimings timings)
    : mTimings(timings)
{
    mRemoteGuideTimer.setSingleShot(true);
    mRefreshGuideTimer.setSingleShot(true);
    QObject::connect(&mRemoteGuideTimer, &QTimer::timeout, [this] { showRemoteGuide(false); });
    QObject::connect(&mRefreshGuideTimer, &QTimer::timeout, [this] { displayRefreshGuide(false); });
}

void RemoteGuideController::displayGuide(bool shown)
{
    hideRefreshGuide();
    if (shown && !mRemoteGuideCalledOnce) {
        mRemoteGuideCalledOnce = true;
        showRemoteGuide(true);
        mRemoteGuideTimer.start(mTimings.guideVisible);
        return;
    }
    showRemoteGuide(false);
}

void RemoteGuideController::showRemoteGuide(bool shown)
{
    if (!shown)
        mRemoteGuideTimer.stop();
    mRemoteGuideShown = shown;
    if (mView)
        mView->setRemoteGuideShown(shown);
}

void RemoteGuideController::displayRefreshGuide(bool shown)
{
    mRefreshGuideShown = shown;
    if (shown)
        mRefreshGuideTimer.start(mTimings.guideVisible);
    else
        mRefreshGuideTimer.stop();
    if (mView)
        mView->setRefreshGuideShown(shown);
}
