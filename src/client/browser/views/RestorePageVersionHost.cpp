#include "client/browser/views/RestorePageVersionHost.h"

#include "client/browser/restore/RestoreController.h"
#include "client/browser/views/PagePanes.h"
#include "session/manager/SessionDriver.h"

RestorePageVersionHost::RestorePageVersionHost(PagePanes &page, RestoreController &restore,
                                               RestoreController::Page which)
    : mPage(page)
    , mRestore(restore)
    , mWhich(which)
{}

void RestorePageVersionHost::showVersionView()
{
    // The progress pane makes way; its restore goes on behind the sidebar's box.
    if (mPage.isProgressPaneShown())
        mRestore.toggleProgressView(mRestore.progressViewController(), true);
    mPage.setVersionPaneShown(true);
    mRestore.canHideBrowseButton();
}

void RestorePageVersionHost::removeVersionView()
{
    mPage.setVersionPaneShown(false);
    mRestore.canHideBrowseButton();
}

bool RestorePageVersionHost::isVersionViewShown() const { return mPage.isVersionPaneShown(); }

QString RestorePageVersionHost::restoreDestination() const
{
    // The session driver's target folder too: the Restore button has just set it so.
    return mRestore.restoreDestination();
}

bool RestorePageVersionHost::isSessionRestoreRunning() const
{
    const SessionDriver *driver = mRestore.mRestoreManager();
    return driver && driver->isRunning();
}

void RestorePageVersionHost::versionRestoreDidStart() { mRestore.versionRestoreDidStart(mWhich); }

void RestorePageVersionHost::versionRestoreDidReceiveData(const ProgressReport &progress)
{
    mRestore.versionRestoreDidReceiveData(progress);
}

void RestorePageVersionHost::versionRestoreDidEnd() { mRestore.versionRestoreDidEnd(); }
