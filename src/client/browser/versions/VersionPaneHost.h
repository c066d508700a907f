#pragma once

#include <QString>

class ProgressReport;

// What the version pane and its flow ask of the page that embeds the pane below
// its table (the Restore page, the search view): the pane's place, the page's
// restore destination and restore session, and the page's controls during a
// version restore. Everything the program shares (account, drive, sidebar) comes
// through the BrowserHost instead.
class VersionPaneHost
{
public:
    virtual ~VersionPaneHost() = default;

    // Embeds the pane below the table; one pane at a time, so a progress pane
    // there makes way (its restore carries on behind the sidebar's box).
    virtual void showVersionView() = 0;
    virtual void removeVersionView() = 0;
    virtual bool isVersionViewShown() const = 0;

    // The folder a restore from this page writes into.
    virtual QString restoreDestination() const = 0;
    // Whether the page's own restore session runs (not counting the version restore).
    virtual bool isSessionRestoreRunning() const = 0;

    // A version restore began: the page's Restore and destination buttons are off.
    virtual void versionRestoreDidStart() = 0;
    // Its progress, for the page's progress pane.
    virtual void versionRestoreDidReceiveData(const ProgressReport &progress) = 0;
    // It ended, however: the progress pane goes, the buttons come back.
    virtual void versionRestoreDidEnd() = 0;
};
