#pragma once

#include <QString>

class TreeViewNode;

// What the tree asks of its owner: saving the selection and showing the change.
class TreeViewControllerDelegate
{
public:
    virtual ~TreeViewControllerDelegate() = default;

    virtual void saveHistoryDataToDisk() {}
    virtual void saveDataToDisk() {}
    virtual void saveEmptyDataToDisk() {}
    // True for the local tree, whose home folder keeps its default folders at the top.
    virtual bool isLocalTree() const { return false; }
    // The home folder's tree path (local tree only).
    virtual QString homeFolderPath() const { return {}; }
    // Check states, flags or sizes of shown rows changed.
    virtual void reloadData() = 0;
    virtual void setmCancelOperation(bool cancel) { (void)cancel; }
};

// Told around every change of the rows shown below a node, so that a view
// model can follow the tree row by row.
class TreeStructureObserver
{
public:
    virtual ~TreeStructureObserver() = default;

    virtual void beginInsertChildren(TreeViewNode *parent, int first, int last) = 0;
    virtual void endInsertChildren() = 0;
    virtual void beginRemoveChildren(TreeViewNode *parent, int first, int last) = 0;
    virtual void endRemoveChildren() = 0;
    virtual void beginResetTree() = 0;
    virtual void endResetTree() = 0;
};
