#pragma once

#include <QString>

// What the Restore page's bottom row and pane show for a restore.
class RestoreView
{
public:
    virtual ~RestoreView() = default;

    virtual void setRestoreButtonEnabled(bool enabled) = 0;
    virtual void setDestinationButtonEnabled(bool enabled) = 0;
    // The destination button and both destination labels.
    virtual void setDestinationControlsHidden(bool hidden) = 0;
    // The destination label's text and tool tip.
    virtual void showRestoreDestination(const QString &path) = 0;
    // The progress pane below the tree; while it shows, the Restore button, the
    // destination button and the destination label make room (the caption stays).
    virtual void setProgressPaneShown(bool shown) = 0;
};
