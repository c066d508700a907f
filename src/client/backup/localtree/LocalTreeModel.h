#pragma once

#include "client/backup/localtree/TreeViewControllerDelegate.h"

#include <QAbstractItemModel>

class TreeViewController;
class TreeViewNode;

// What the model asks of the controller behind it when the user acts on a row.
class LocalTreeActions
{
public:
    virtual ~LocalTreeActions() = default;

    // Starts listing a folder that was not listed yet.
    virtual void expandNode(TreeViewNode *node) = 0;
    virtual bool canListNodes() const = 0;
    // The check box was clicked.
    virtual void toggleCheckBoxState(TreeViewNode *node) = 0;
    // A file or folder was dropped on the tree.
    virtual void addPathForBackup(const QString &path) = 0;
};

// The local tree as an item model: one row per node, columns "FileName"
// (check box and name), "Size" and "Date Modified". A folder that was never
// listed has children to fetch; fetching shows a "Loading..." row until its
// listing arrives.
class LocalTreeModel : public QAbstractItemModel, public TreeStructureObserver
{
    Q_OBJECT

public:
    enum Column
    {
        FileNameColumn,
        SizeColumn,
        DateModifiedColumn,
        ColumnCount
    };
    enum Role
    {
        FullPathRole = Qt::UserRole + 1,  // the node's tree path
        IsPlaceholderRole,                // the "Loading..." row
        IsExcludedRole,                   // the item or a folder it lies in is excluded
        IsDirectoryRole,
        LinkRole,      // what the item links to (TreeViewNode::Link)
        IsVolumeRole,  // a drive: the start-up disk or a mounted one
    };

    LocalTreeModel(TreeViewController &tree, LocalTreeActions &actions, QObject *parent = nullptr);

    TreeViewNode *nodeForIndex(const QModelIndex &index) const;
    QModelIndex indexForNode(TreeViewNode *node, int column = 0) const;
    // Check states, flags or sizes changed: every shown row is refreshed.
    void reloadData();

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
    QHash<int, QByteArray> roleNames() const override;

    QStringList mimeTypes() const override;
    Qt::DropActions supportedDropActions() const override;
    bool canDropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                         const QModelIndex &parent) const override;
    bool dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                      const QModelIndex &parent) override;

    // TreeStructureObserver
    void beginInsertChildren(TreeViewNode *parent, int first, int last) override;
    void endInsertChildren() override;
    void beginRemoveChildren(TreeViewNode *parent, int first, int last) override;
    void endRemoveChildren() override;
    void beginResetTree() override;
    void endResetTree() override;

private:
    TreeViewNode *containerFor(const QModelIndex &parent) const;
    static bool isExcludedHere(const TreeViewNode *node);

    TreeViewController &mTree;
    LocalTreeActions &mActions;
};
