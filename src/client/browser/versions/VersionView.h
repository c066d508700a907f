#pragma once

#include <QString>

// What the version pane's widgets show of its controller.
class VersionView
{
public:
    virtual ~VersionView() = default;

    // The rows changed: the table reads them again (and forgets its selection).
    virtual void reloadVersionView() = 0;
    virtual void showFileLabel(const QString &text) = 0;
    // The busy indicator over the table turns while the list is fetched.
    virtual void setVersionHistoryProgressShown(bool shown) = 0;
};
