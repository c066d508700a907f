#pragma once

#include "client/browser/restore/RestoreController.h"
#include "client/browser/versions/VersionPaneHost.h"

class PagePanes;

// A browser page (the Restore page, the search results) as the version pane's
// host: the pane below the page's table in the progress pane's place, the
// restore destination and session, and the page's progress pane and buttons
// during a version restore.
class RestorePageVersionHost : public VersionPaneHost
{
public:
    RestorePageVersionHost(PagePanes &page, RestoreController &restore,
                           RestoreController::Page which = RestoreController::Page::Restore);

    void showVersionView() override;
    void removeVersionView() override;
    bool isVersionViewShown() const override;
    QString restoreDestination() const override;
    bool isSessionRestoreRunning() const override;
    void versionRestoreDidStart() override;
    void versionRestoreDidReceiveData(const ProgressReport &progress) override;
    void versionRestoreDidEnd() override;

private:
    PagePanes &mPage;
    RestoreController &mRestore;
    const RestoreController::Page mWhich;
};
