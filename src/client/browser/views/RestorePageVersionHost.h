#pragma once

#include "client/browser/versions/VersionPaneHost.h"

class RestoreController;
class RestorePageView;

// The Restore page as the version pane's host: the pane below the tree in the
// progress pane's place, the page's restore destination and session, and the
// page's progress pane and buttons during a version restore.
class RestorePageVersionHost : public VersionPaneHost
{
public:
    RestorePageVersionHost(RestorePageView &page, RestoreController &restore);

    void showVersionView() override;
    void removeVersionView() override;
    bool isVersionViewShown() const override;
    QString restoreDestination() const override;
    bool isSessionRestoreRunning() const override;
    void versionRestoreDidStart() override;
    void versionRestoreDidReceiveData(const ProgressReport &progress) override;
    void versionRestoreDidEnd() override;

private:
    RestorePageView &mPage;
    RestoreController &mRestore;
};
