#include "client/backup/localtree/LocalTreeModel.h"

#include "client/backup/localtree/TreeViewController.h"
#include "client/common/tree/TreeViewNode.h"

#include <QMimeData>
#include <QUrl>

namespace {

Qt::CheckState checkStateFor(int state)
{
    switch (state) {
    case TreeViewNode::Checked:
        return Qt::Checked;
    case TreeViewNode::Mixed:
        return Qt::PartiallyChecked;
    default:
        return Qt::Unchecked;
    }
}

QStringList droppedPaths(const QMimeData *data)
{
    QStringList paths;
    if (!data)
        return paths;
    for (const QUrl &url : data->urls()) {
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
    }
    return paths;
}

}  // namespace

LocalTreeModel::LocalTreeModel(TreeViewController &tree, LocalTreeActions &actions, QObject *parent)
    : QAbstractItemModel(parent)
    , mTree(tree)
    , mActions(actions)
{
    mTree.setStructureObserver(this);
}

TreeViewNode *LocalTreeModel::nodeForIndex(const QModelIndex &index) const
{
    return index.isValid() ? static_cast<TreeViewNode *>(index.internalPointer()) : nullptr;
}

TreeViewNode *LocalTreeModel::containerFor(const QModelIndex &parent) const
{
    return parent.isValid() ? nodeForIndex(parent) : mTree.mRootItem();
}

QModelIndex LocalTreeModel::indexForNode(TreeViewNode *node, int column) const
{
    if (!node || node == mTree.mRootItem() || !node->shownUnder())
        return {};
    return createIndex(node->row(), column, node);
}

QModelIndex LocalTreeModel::index(int row, int column, const QModelIndex &parent) const
{
    const TreeViewNode *container = containerFor(parent);
    if (!container || column < 0 || column >= ColumnCount || (parent.isValid() && parent.column() != 0))
        return {};
    TreeViewNode *child = container->childAtIndex(row);
    return child ? createIndex(row, column, child) : QModelIndex();
}

QModelIndex LocalTreeModel::parent(const QModelIndex &child) const
{
    const TreeViewNode *node = nodeForIndex(child);
    return node ? indexForNode(node->shownUnder()) : QModelIndex();
}

int LocalTreeModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() && parent.column() != 0)
        return 0;
    const TreeViewNode *container = containerFor(parent);
    return container ? int(container->children().size()) : 0;
}

int LocalTreeModel::columnCount(const QModelIndex &) const { return ColumnCount; }

bool LocalTreeModel::hasChildren(const QModelIndex &parent) const
{
    if (parent.isValid() && parent.column() != 0)
        return false;
    const TreeViewNode *container = containerFor(parent);
    if (!container || container->isAFile())
        return false;
    // A folder that was never listed shows that it can be opened.
    return !container->children().empty() || !container->isExpanded();
}

bool LocalTreeModel::canFetchMore(const QModelIndex &parent) const
{
    const TreeViewNode *container = containerFor(parent);
    return container && !container->isAFile() && !container->isExpanded() && mActions.canListNodes();
}

void LocalTreeModel::fetchMore(const QModelIndex &parent)
{
    if (!canFetchMore(parent))
        return;
    // Views ask while they handle a change of rows, so the "Loading..." row is
    // added once that change is over; the folder is not offered again meanwhile.
    TreeViewNode *folder = containerFor(parent);
    folder->setIsExpanded(true);
    QMetaObject::invokeMethod(
        this,
        [this, path = folder->fullPath()] {
            TreeViewNode *pending = mTree.nodeForPath(path);
            if (pending && (pending->children().empty() || mTree.isAwaitingListing(pending)))
                mActions.expandNode(pending);
        },
        Qt::QueuedConnection);
}

bool LocalTreeModel::isExcludedHere(const TreeViewNode *node)
{
    for (; node; node = node->parentNode()) {
        if (node->isExcluded())
            return true;
    }
    return false;
}

QVariant LocalTreeModel::data(const QModelIndex &index, int role) const
{
    const TreeViewNode *node = nodeForIndex(index);
    if (!node)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        if (index.column() == FileNameColumn)
            return node->relativePath();
        if (node->isPlaceholder())
            return QString();
        return index.column() == SizeColumn ? node->getFileSize() : node->getModificationDate();
    case Qt::CheckStateRole:
        if (index.column() == FileNameColumn && !node->isPlaceholder())
            return checkStateFor(node->checkState());
        return {};
    case FullPathRole:
        return node->fullPath();
    case IsPlaceholderRole:
        return node->isPlaceholder();
    case IsExcludedRole:
        return !node->isPlaceholder() && isExcludedHere(node);
    case IsDirectoryRole:
        return !node->isAFile();
    case LinkRole:
        return int(node->link());
    case IsVolumeRole:
        return node->parentNode() && node->parentNode() == mTree.mRootItem();
    default:
        return {};
    }
}

bool LocalTreeModel::setData(const QModelIndex &index, const QVariant &, int role)
{
    TreeViewNode *node = nodeForIndex(index);
    if (!node || node->isPlaceholder() || role != Qt::CheckStateRole || index.column() != FileNameColumn)
        return false;
    // A click toggles by the tree's rules, whatever state the view proposes.
    mActions.toggleCheckBoxState(node);
    return true;
}

Qt::ItemFlags LocalTreeModel::flags(const QModelIndex &index) const
{
    const TreeViewNode *node = nodeForIndex(index);
    if (!node)
        return Qt::ItemIsDropEnabled;
    if (node->isPlaceholder())
        return Qt::ItemIsEnabled;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDropEnabled;
    if (index.column() == FileNameColumn)
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

QVariant LocalTreeModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case FileNameColumn:
        return QStringLiteral("  My Local");
    case SizeColumn:
        return QStringLiteral("Size");
    case DateModifiedColumn:
        return QStringLiteral("Date Modified");
    default:
        return {};
    }
}

QHash<int, QByteArray> LocalTreeModel::roleNames() const
{
    QHash<int, QByteArray> names = QAbstractItemModel::roleNames();
    names.insert(FullPathRole, "fullPath");
    names.insert(IsPlaceholderRole, "isPlaceholder");
    names.insert(IsExcludedRole, "isExcluded");
    names.insert(IsDirectoryRole, "isDirectory");
    names.insert(LinkRole, "link");
    names.insert(IsVolumeRole, "isVolume");
    return names;
}

void LocalTreeModel::reloadData()
{
    const TreeViewNode *root = mTree.mRootItem();
    if (!root)
        return;
    std::vector<const TreeViewNode *> pending{root};
    while (!pending.empty()) {
        const TreeViewNode *container = pending.back();
        pending.pop_back();
        const int count = int(container->children().size());
        if (count == 0)
            continue;
        const QModelIndex parent = indexForNode(const_cast<TreeViewNode *>(container));
        emit dataChanged(index(0, 0, parent), index(count - 1, ColumnCount - 1, parent));
        for (const TreeViewNode *child : container->children())
            pending.push_back(child);
    }
}

QStringList LocalTreeModel::mimeTypes() const { return {QStringLiteral("text/uri-list")}; }

Qt::DropActions LocalTreeModel::supportedDropActions() const { return Qt::CopyAction | Qt::LinkAction; }

bool LocalTreeModel::canDropMimeData(const QMimeData *data, Qt::DropAction, int, int, const QModelIndex &) const
{
    return !droppedPaths(data).isEmpty();
}

bool LocalTreeModel::dropMimeData(const QMimeData *data, Qt::DropAction, int, int, const QModelIndex &)
{
    const QStringList paths = droppedPaths(data);
    for (const QString &path : paths)
        mActions.addPathForBackup(path);
    return !paths.isEmpty();
}

void LocalTreeModel::beginInsertChildren(TreeViewNode *parent, int first, int last)
{
    beginInsertRows(indexForNode(parent), first, last);
}

void LocalTreeModel::endInsertChildren() { endInsertRows(); }

void LocalTreeModel::beginRemoveChildren(TreeViewNode *parent, int first, int last)
{
    beginRemoveRows(indexForNode(parent), first, last);
}

void LocalTreeModel::endRemoveChildren() { endRemoveRows(); }

void LocalTreeModel::beginResetTree() { beginResetModel(); }

void LocalTreeModel::endResetTree() { endResetModel(); }
