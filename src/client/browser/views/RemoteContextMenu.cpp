#include "client/browser/views/RemoteContextMenu.h"

#include "client/browser/operations/RemoteOperations.h"
#include "client/browser/views/RemoteTreeModel.h"
#include "client/common/tree/TreeViewNode.h"

#include <QMenu>
#include <QTreeView>

using RemoteMenuRules::Action;

RemoteContextMenu::RemoteContextMenu(QTreeView &tree, RemoteTreeModel &model, RemoteOperations &operations)
    : QObject(&tree)
    , mTree(tree)
    , mModel(model)
    , mOperations(operations)
    , mMenu(new QMenu(&tree))
{
    // The trash has no operation in this program: its entry is not offered.
    const std::pair<Action, QString> entries[] = {
        {Action::Refresh, tr("Refresh")},
        {Action::FolderSize, tr("Folder Size")},
        {Action::Versions, tr("Versions")},
        {Action::Rename, tr("Rename")},
        {Action::Delete, tr("Delete")},
        {Action::Share, tr("Share Link")},
        {Action::SearchInFolder, tr("Search in Folder")},
        {Action::ReIndex, tr("Re-index")},
    };
    for (const auto &[action, title] : entries) {
        if (action == Action::ReIndex || action == Action::SearchInFolder)
            mMenu->addSeparator();
        QAction *entry = mMenu->addAction(title);
        mActions[action] = entry;
        connect(entry, &QAction::triggered, this, [this, action = action] { run(action); });
    }
    connect(mMenu, &QMenu::aboutToShow, this, &RemoteContextMenu::validateMenuItems);
    tree.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&tree, &QWidget::customContextMenuRequested, this, &RemoteContextMenu::popUpAt);
}

RemoteContextMenu::~RemoteContextMenu() = default;

TreeViewNode *RemoteContextMenu::clickedNode() const
{
    return mClickedRow.isValid() ? mModel.nodeAt(mClickedRow) : nullptr;
}

void RemoteContextMenu::prepareFor(const QModelIndex &row)
{
    mClickedRow = row.isValid() ? row.siblingAtColumn(RemoteTreeModel::NameColumn) : QModelIndex();
    validateMenuItems();
}

void RemoteContextMenu::popUpAt(const QPoint &position)
{
    mClickedRow = mTree.indexAt(position).siblingAtColumn(RemoteTreeModel::NameColumn);
    mMenu->popup(mTree.viewport()->mapToGlobal(position));
}

void RemoteContextMenu::validateMenuItems()
{
    const TreeViewNode *clicked = clickedNode();
    for (const auto &[action, entry] : mActions)
        entry->setEnabled(mOperations.isEnabled(action, clicked));
}

void RemoteContextMenu::run(Action action)
{
    const QPersistentModelIndex row = mClickedRow;
    if (mOperations.trigger(action, clickedNode()) && action == Action::Rename && row.isValid()) {
        mTree.setCurrentIndex(row);
        mTree.edit(row);
    }
}
