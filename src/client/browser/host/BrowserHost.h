#pragma once

#include "client/common/pages/PageHost.h"

class TXEngineController;

// What the Restore page asks of the program beyond what every page asks (PageHost):
// the engine set-up of its controllers, the sidebar's restore progress box, the
// one version restore of the program.
// The main controller and the sidebar implement it; tests use a fake.
class BrowserHost : public PageHost
{
public:
    // Fills an engine controller's account record and proxy from the signed-in account.
    virtual void setUserAndProxyToObject(TXEngineController &controller) = 0;

    // The sidebar's mini progress of a restore running behind another page.
    virtual void setRestoreMiniProgressHidden(bool hidden) = 0;
    virtual void setRestoreMiniPercentage(const QString &text) = 0;
    // A click on the mini progress opens the Restore page, not the search view.
    virtual void setSearchInProgress(bool running) = 0;
    // Whether a restore runs, for the sidebar's mode switch.
    virtual void setRestoreRunning(bool running) = 0;

    // The program's one version restore: a restore waits while it runs, and a stop reaches it first.
    virtual bool isVersionRestoreRunning() const = 0;
    virtual void cancelVersionRestore() = 0;
};
