#pragma once

#include <QString>

class TreeViewNode;

// What the destination tree tells the model that shows it, around each change.
class RemoteTreeObserver
{
public:
    virtual ~RemoteTreeObserver() = default;

    virtual void treeWillReset() = 0;
    virtual void treeDidReset() = 0;
    // A folder's rows go (count of them), then its new rows come.
    virtual void childrenWillBeRemoved(const TreeViewNode &folder, int count) = 0;
    virtual void childrenRemoved() = 0;
    virtual void childrenWillBeInserted(const TreeViewNode &folder, int count) = 0;
    virtual void childrenInserted() = 0;
    // One row goes from a folder (an item deleted from the drive).
    virtual void childWillBeRemoved(const TreeViewNode &folder, int row) = 0;
    // A row's texts changed (an item renamed on the drive).
    virtual void nodeChanged(const TreeViewNode &node) = 0;
    // Check states below and above a toggled node changed.
    virtual void checkStatesChanged() = 0;
    // A line for the page's status line.
    virtual void showStatusMessage(const QString &text) = 0;
};
