#pragma once

// The panes a browser page shows below its table, one at a time: the progress
// pane of a restore and the version pane.
class PagePanes
{
public:
    virtual ~PagePanes() = default;
    virtual bool isProgressPaneShown() const = 0;
    virtual void setVersionPaneShown(bool shown) = 0;
    virtual bool isVersionPaneShown() const = 0;
};
