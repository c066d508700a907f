#pragma once

#include "client/browser/tree/RemoteTreeObserver.h"

#include <QAbstractItemModel>
#include <QFileIconProvider>

#include <functional>

class RemoteTreeController;
class TreeViewNode;
class User;

// The destination tree for a tree view: a check-box column, then "Name" (with the
// folder's or the file type's icon), "Size", "Date Modified" and "Version". A folder
// is listed when the view first opens it; its "Loading..." row has no check box.
class RemoteTreeModel : public QAbstractItemModel, public RemoteTreeObserver
{
    Q_OBJECT

public:
    enum Column
    {
        CheckColumn = 0,
        NameColumn,
        SizeColumn,
        DateColumn,
        VersionColumn,
        ColumnCount
    };

    // account: the signed-in account, whose names the rows' names may show.
    RemoteTreeModel(RemoteTreeController &tree, std::function<const User &()> account, QObject *parent = nullptr);
    ~RemoteTreeModel() override;

    // The Name column becomes editable: an edited name goes to the renamer.
    void setRenamer(std::function<void(const TreeViewNode &node, const QString &newName)> renamer);
    // Folders the guard refuses are not listed when the view opens them.
    void setExpansionGuard(std::function<bool(const TreeViewNode &folder)> mayExpand);

    TreeViewNode *nodeAt(const QModelIndex &index) const;
    QModelIndex indexOf(const TreeViewNode *node, int column = NameColumn) const;

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    bool hasChildren(const QModelIndex &parent = {}) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

signals:
    void statusMessage(const QString &text);

private:
    void treeWillReset() override { beginResetModel(); }
    void treeDidReset() override { endResetModel(); }
    void childrenWillBeRemoved(const TreeViewNode &folder, int count) override;
    void childrenRemoved() override { endRemoveRows(); }
    void childrenWillBeInserted(const TreeViewNode &folder, int count) override;
    void childrenInserted() override { endInsertRows(); }
    void childWillBeRemoved(const TreeViewNode &folder, int row) override;
    void nodeChanged(const TreeViewNode &node) override;
    void checkStatesChanged() override;
    void showStatusMessage(const QString &text) override { emit statusMessage(text); }

    RemoteTreeController &mTree;
    std::function<const User &()> mAccount;
    QFileIconProvider mIcons;
    std::function<void(const TreeViewNode &, const QString &)> mRenamer;
    std::function<bool(const TreeViewNode &)> mMayExpand;
};
