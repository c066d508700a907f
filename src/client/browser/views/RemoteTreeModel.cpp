#include "client/browser/views/RemoteTreeModel.h"

#include "client/browser/tree/RemoteTreeController.h"
#include "client/browser/tree/RemoteTreeRules.h"
#include "client/common/tree/TreeViewNode.h"

#include <QFileInfo>
#include <QFont>

RemoteTreeModel::RemoteTreeModel(RemoteTreeController &tree, std::function<const User &()> account, QObject *parent)
    : QAbstractItemModel(parent)
    , mTree(tree)
    , mAccount(std::move(account))
{
    mTree.setObserver(this);
}

RemoteTreeModel::~RemoteTreeModel() { mTree.setObserver(nullptr); }

void RemoteTreeModel::setRenamer(std::function<void(const TreeViewNode &, const QString &)> renamer)
{
    mRenamer = std::move(renamer);
}

void RemoteTreeModel::setExpansionGuard(std::function<bool(const TreeViewNode &)> mayExpand)
{
    mMayExpand = std::move(mayExpand);
}

TreeViewNode *RemoteTreeModel::nodeAt(const QModelIndex &index) const
{
    return index.isValid() ? static_cast<TreeViewNode *>(index.internalPointer()) : &mTree.rootItem();
}

QModelIndex RemoteTreeModel::indexOf(const TreeViewNode *node, int column) const
{
    if (!node || node == &mTree.rootItem() || !node->shownUnder())
        return {};
    return createIndex(node->row(), column, const_cast<TreeViewNode *>(node));
}

QModelIndex RemoteTreeModel::index(int row, int column, const QModelIndex &parent) const
{
    TreeViewNode *child = nodeAt(parent)->childAtIndex(row);
    return child && column >= 0 && column < ColumnCount ? createIndex(row, column, child) : QModelIndex();
}

QModelIndex RemoteTreeModel::parent(const QModelIndex &child) const
{
    // Rows hang below a row's first column.
    return child.isValid() ? indexOf(nodeAt(child)->shownUnder(), 0) : QModelIndex();
}

int RemoteTreeModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() && parent.column() != 0)
        return 0;
    return int(nodeAt(parent)->children().size());
}

int RemoteTreeModel::columnCount(const QModelIndex &) const { return ColumnCount; }

bool RemoteTreeModel::hasChildren(const QModelIndex &parent) const
{
    const TreeViewNode *node = nodeAt(parent);
    return !node->isAFile() && !node->isPlaceholder() && (!node->isExpanded() || !node->children().empty());
}

bool RemoteTreeModel::canFetchMore(const QModelIndex &parent) const
{
    const TreeViewNode *node = nodeAt(parent);
    return parent.isValid() && !node->isAFile() && !node->isPlaceholder() && node->children().empty() &&
           !mTree.isListing(*node) && (!mMayExpand || mMayExpand(*node));
}

void RemoteTreeModel::fetchMore(const QModelIndex &parent)
{
    if (parent.isValid() && (!mMayExpand || mMayExpand(*nodeAt(parent))))
        mTree.expandNode(*nodeAt(parent));
}

QVariant RemoteTreeModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const TreeViewNode &node = *nodeAt(index);
    if (node.isPlaceholder()) {
        if (role == Qt::DisplayRole && index.column() == NameColumn)
            return node.relativePath();
        if (role == Qt::FontRole) {
            QFont font;
            font.setPointSize(11);
            return font;
        }
        return {};
    }
    switch (role) {
    case Qt::CheckStateRole:
        if (index.column() != CheckColumn)
            return {};
        return node.checkState() == TreeViewNode::Checked     ? Qt::Checked
               : node.checkState() == TreeViewNode::Unchecked ? Qt::Unchecked
                                                              : Qt::PartiallyChecked;
    case Qt::EditRole:
        // The stored name itself is what a rename edits.
        return index.column() == NameColumn ? QVariant(node.relativePath()) : QVariant();
    case Qt::DisplayRole:
        switch (index.column()) {
        case NameColumn:
            return RemoteTreeRules::shownName(node.relativePath(), mAccount());
        case SizeColumn:
            return node.getFileSize();
        case DateColumn:
            return node.getModificationDate();
        case VersionColumn:
            return node.getFileVersion();
        default:
            return {};
        }
    case Qt::DecorationRole:
        if (index.column() != NameColumn)
            return {};
        return node.isAFile() ? mIcons.icon(QFileInfo(node.relativePath())) : mIcons.icon(QFileIconProvider::Folder);
    case Qt::ToolTipRole:
        return index.column() == NameColumn ? QVariant(node.fullPath()) : QVariant();
    default:
        return {};
    }
}

bool RemoteTreeModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (index.isValid() && role == Qt::EditRole && index.column() == NameColumn && mRenamer &&
        !nodeAt(index)->isPlaceholder()) {
        // The row changes when the rename has happened, not before.
        mRenamer(*nodeAt(index), value.toString());
        return false;
    }
    if (!index.isValid() || role != Qt::CheckStateRole || index.column() != CheckColumn)
        return false;
    TreeViewNode &node = *nodeAt(index);
    if (node.isPlaceholder())
        return false;
    const bool wantOn = value.toInt() == Qt::Checked;
    if (wantOn != (node.checkState() == TreeViewNode::Checked))
        mTree.toggleCheckboxStateforNode(node);
    return true;
}

Qt::ItemFlags RemoteTreeModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    if (nodeAt(index)->isPlaceholder())
        return Qt::ItemIsEnabled;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == CheckColumn)
        flags |= Qt::ItemIsUserCheckable;
    if (index.column() == NameColumn && mRenamer)
        flags |= Qt::ItemIsEditable;
    return flags;
}

QVariant RemoteTreeModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case NameColumn:
        return QStringLiteral("  My Device");
    case SizeColumn:
        return QStringLiteral("Size");
    case DateColumn:
        return QStringLiteral("Date Modified");
    case VersionColumn:
        return QStringLiteral("Version");
    default:
        return QString();
    }
}

void RemoteTreeModel::childrenWillBeRemoved(const TreeViewNode &folder, int count)
{
    beginRemoveRows(indexOf(&folder, 0), 0, count - 1);
}

void RemoteTreeModel::childrenWillBeInserted(const TreeViewNode &folder, int count)
{
    beginInsertRows(indexOf(&folder, 0), 0, count - 1);
}

void RemoteTreeModel::childWillBeRemoved(const TreeViewNode &folder, int row)
{
    beginRemoveRows(indexOf(&folder, 0), row, row);
}

void RemoteTreeModel::nodeChanged(const TreeViewNode &node)
{
    emit dataChanged(indexOf(&node, 0), indexOf(&node, ColumnCount - 1));
}

void RemoteTreeModel::checkStatesChanged()
{
    // Check boxes of every shown row may have changed: the view redraws them.
    emit layoutAboutToBeChanged();
    emit layoutChanged();
}
