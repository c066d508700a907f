#pragma once

#include <QString>

// The tray item, its menu and the monitor's windows as the monitor controller
// sees them. Menu items are named by their tags (MonitorMenuTags).
class MonitorView
{
public:
    virtual ~MonitorView() = default;

    // The tray item's image, and the image it shows while its menu is open.
    virtual void setStatusImages(const QString &image, const QString &alternateImage) = 0;
    // One step of the blinking quota warning swaps only the image.
    virtual void setStatusImage(const QString &image) = 0;
    virtual QString statusImage() const = 0;
    virtual void setToolTip(const QString &text) = 0;

    virtual QString itemTitle(int tag) const = 0;
    virtual void setItemTitle(int tag, const QString &title) = 0;
    virtual void setItemEnabled(int tag, bool enabled) = 0;

    // The monitor's own message window; it does not wait for the user.
    virtual void displayWindowWithAlertMsg(const QString &message) = 0;
    // The list of the daemon's session logs.
    virtual void showSessionLogList() = 0;
    // The session-log viewer that the client shows too.
    virtual void showSessionLogViewer() = 0;
    // A period chosen in either program's log viewer.
    virtual void sortSessionLogs(const QString &periodNotification) = 0;
    // One log file: in the user's text editor, else in the monitor's log-file window.
    virtual void openLogFile(const QString &path) = 0;
    // The preferences window of the last user to log in, on its General or Exclude pane
    // (locked while nobody is logged in).
    virtual void showPreferences(bool exclusionPane) = 0;
    // The schedule list window.
    virtual void showSchedules() = 0;
    // The error report window (or, without a login, the message that one is needed).
    virtual void showErrorReport() = 0;
    // The balloon that points to the tray item once after an installation.
    virtual void showTrayHelp() = 0;
};
