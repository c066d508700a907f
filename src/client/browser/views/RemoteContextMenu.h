#pragma once

#include "client/browser/operations/RemoteMenuRules.h"

#include <QObject>
#include <QPersistentModelIndex>

#include <map>

class QAction;
class QMenu;
class QTreeView;
class RemoteOperations;
class RemoteTreeModel;
class TreeViewNode;

// The destination tree's context menu: its entries are enabled for the row it
// was opened on each time it opens, and each runs its operation for that row.
// "Rename" opens the row's name for editing; the edited name goes to the rename.
class RemoteContextMenu : public QObject
{
    Q_OBJECT

public:
    RemoteContextMenu(QTreeView &tree, RemoteTreeModel &model, RemoteOperations &operations);
    ~RemoteContextMenu() override;

    QMenu *menu() const { return mMenu; }
    QAction *action(RemoteMenuRules::Action action) const { return mActions.at(action); }
    // The row the menu was last opened on (null off the rows).
    TreeViewNode *clickedNode() const;
    // Opens the menu at a point of the tree's viewport; returns at once.
    void popUpAt(const QPoint &position);
    // Sets the row as the menu's and enables the entries as the menu does when it opens.
    void prepareFor(const QModelIndex &row);

private:
    void validateMenuItems();
    void run(RemoteMenuRules::Action action);

    QTreeView &mTree;
    RemoteTreeModel &mModel;
    RemoteOperations &mOperations;
    QMenu *mMenu;
    std::map<RemoteMenuRules::Action, QAction *> mActions;
    QPersistentModelIndex mClickedRow;
};
