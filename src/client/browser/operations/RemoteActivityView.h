#pragma once

#include <QString>

// What the Restore page shows of the tree's operations: the busy spinner, the
// operation line beside it and the status line below the tree.
class RemoteActivityView
{
public:
    virtual ~RemoteActivityView() = default;

    virtual void setSpinnerRunning(bool running) = 0;
    virtual void setOperationName(const QString &text) = 0;
    virtual void displayMessage(const QString &text) = 0;
};
