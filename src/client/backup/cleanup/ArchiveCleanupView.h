#pragma once

#include <QString>

// The archive cleanup's two windows: the message window that explains the
// cleanup and offers Continue, and the list window with the editable list.
class ArchiveCleanupView
{
public:
    virtual ~ArchiveCleanupView() = default;

    // Opens the message window (collapsed, centred over the main window) or brings it to the front.
    virtual void showMessageWindow() = 0;
    virtual void closeMessageWindow() = 0;
    virtual void setPreparingListShown(bool shown) = 0;
    // Opens the list window with one path a line, or brings it to the front.
    virtual void showListWindow(const QString &paths) = 0;
    virtual QString listText() const = 0;
    virtual void closeListWindow() = 0;
    virtual void setDeletingShown(bool shown) = 0;
};
