#include "client/backup/localtree/TreeViewController.h"

#include "client/backup/localtree/TreeViewControllerDelegate.h"
#include "common/volumes/LocalVolumeLayout.h"

#include <algorithm>

const QStringList TreeViewController::kHomeDefaultFolders = {
    QStringLiteral("Desktop"),   QStringLiteral("Library"),  QStringLiteral("Music"),
    QStringLiteral("Documents"), QStringLiteral("Pictures"),
};

namespace {

QString withoutTrailingSeparator(QString path)
{
    while (path.size() > 1 && path.endsWith('/'))
        path.chop(1);
    return path;
}

QString parentPathOf(const QString &path)
{
    const int slash = path.lastIndexOf('/');
    return slash <= 0 ? QString() : path.left(slash);
}

bool isBelow(const QString &path, const QString &folder) { return path.startsWith(folder + '/'); }

}  // namespace

TreeViewController::TreeViewController(const LocalVolumeLayout &layout)
    : mLayout(layout)
{}

TreeViewController::~TreeViewController() = default;

void TreeViewController::setDelegate(TreeViewControllerDelegate *delegate)
{
    mDelegate = delegate;
    mHomePath = delegate && delegate->isLocalTree() ? delegate->homeFolderPath() : QString();
}

// --- Nodes and rows ---

TreeViewNode *TreeViewController::createNode(const QString &path, TreeViewNode *parent, int state, bool isDir,
                                             const QString &fileSize, const QString &fileVersion, const QString &date)
{
    auto node = std::make_unique<TreeViewNode>(path, parent, state, isDir, fileSize, fileVersion, date);
    TreeViewNode *created = node.get();
    mMapTable[created->fullPath()] = std::move(node);
    return created;
}

TreeViewNode *TreeViewController::nodeForPath(const QString &path) const
{
    const auto found = mMapTable.find(path);
    return found == mMapTable.end() ? nullptr : found->second.get();
}

TreeViewNode *TreeViewController::homeNode() const { return mHomePath.isEmpty() ? nullptr : nodeForPath(mHomePath); }

bool TreeViewController::isHomeNode(const TreeViewNode *node) const
{
    return node && !mHomePath.isEmpty() && node->fullPath() == mHomePath;
}

void TreeViewController::setRootNodeWithPath(const QString &path)
{
    if (mObserver)
        mObserver->beginResetTree();
    mMapTable.clear();
    mPlaceholders.clear();
    mRoot = createNode(path, nullptr, TreeViewNode::Mixed, true, QStringLiteral("root"), {}, QStringLiteral("root"));
    ++mGeneration;
    ++mDiscards;
    if (mObserver)
        mObserver->endResetTree();
}

void TreeViewController::clearAllNodes()
{
    if (mObserver)
        mObserver->beginResetTree();
    mMapTable.clear();
    mPlaceholders.clear();
    mRoot = nullptr;
    ++mGeneration;
    ++mDiscards;
    if (mObserver)
        mObserver->endResetTree();
}

bool TreeViewController::isShown(const TreeViewNode *node) const
{
    while (node && node != mRoot)
        node = node->shownUnder();
    return node && node == mRoot;
}

void TreeViewController::replaceChildren(TreeViewNode *parent, std::vector<TreeViewNode *> children)
{
    TreeStructureObserver *observer = isShown(parent) ? mObserver : nullptr;
    const int oldCount = int(parent->children().size());
    if (oldCount > 0) {
        if (observer)
            observer->beginRemoveChildren(parent, 0, oldCount - 1);
        parent->setChildren({});
        if (observer)
            observer->endRemoveChildren();
    }
    std::erase_if(mPlaceholders, [parent](const auto &placeholder) { return placeholder->parentNode() == parent; });
    if (!children.empty()) {
        if (observer)
            observer->beginInsertChildren(parent, 0, int(children.size()) - 1);
        parent->setChildren(std::move(children));
        if (observer)
            observer->endInsertChildren();
    }
}

void TreeViewController::insertChild(TreeViewNode *parent, int position, TreeViewNode *child)
{
    TreeStructureObserver *observer = isShown(parent) ? mObserver : nullptr;
    position = std::clamp(position, 0, int(parent->children().size()));
    if (observer)
        observer->beginInsertChildren(parent, position, position);
    parent->insertChild(position, child);
    if (observer)
        observer->endInsertChildren();
}

void TreeViewController::removeChild(TreeViewNode *parent, TreeViewNode *child)
{
    const int row = parent->indexOfChild(child);
    if (row < 0)
        return;
    TreeStructureObserver *observer = isShown(parent) ? mObserver : nullptr;
    if (observer)
        observer->beginRemoveChildren(parent, row, row);
    parent->removeChild(child);
    if (observer)
        observer->endRemoveChildren();
}

void TreeViewController::addPlaceholder(TreeViewNode *folder, const QString &message)
{
    if (isAwaitingListing(folder))
        return;
    auto placeholder = std::make_unique<TreeViewNode>(folder->fullPath() + '/' + message, folder, TreeViewNode::Mixed,
                                                      false, QString(), QString(), QString());
    placeholder->setIsPlaceholder(true);
    TreeViewNode *row = placeholder.get();
    mPlaceholders.push_back(std::move(placeholder));
    folder->setIsExpanded(true);
    insertChild(folder, int(folder->children().size()), row);
}

bool TreeViewController::isAwaitingListing(const TreeViewNode *folder) const
{
    return std::any_of(folder->children().begin(), folder->children().end(),
                       [](const TreeViewNode *child) { return child->isPlaceholder(); });
}

void TreeViewController::removePlaceholder(TreeViewNode *folder)
{
    std::vector<TreeViewNode *> kept;
    std::copy_if(folder->children().begin(), folder->children().end(), std::back_inserter(kept),
                 [](const TreeViewNode *child) { return !child->isPlaceholder(); });
    if (kept.size() != folder->children().size())
        replaceChildren(folder, std::move(kept));
}

QStringList TreeViewController::pathsBelow(const QString &path) const
{
    QStringList paths;
    const QString prefix = path + '/';
    for (const auto &[key, node] : mMapTable) {
        if (key.startsWith(prefix))
            paths.append(key);
    }
    return paths;
}

void TreeViewController::discardNodes(const QStringList &paths)
{
    QSet<TreeViewNode *> discarded;
    for (const QString &path : paths) {
        if (TreeViewNode *node = nodeForPath(path))
            discarded.insert(node);
    }
    // A node shown under a row that stays (a default folder at the top) leaves that row first.
    for (TreeViewNode *node : std::as_const(discarded)) {
        TreeViewNode *shownUnder = node->shownUnder();
        if (shownUnder && !discarded.contains(shownUnder))
            removeChild(shownUnder, node);
    }
    std::erase_if(mPlaceholders,
                  [&](const auto &placeholder) { return discarded.contains(placeholder->parentNode()); });
    for (const QString &path : paths)
        mMapTable.erase(path);
    ++mDiscards;
}

void TreeViewController::showAtTopOfRoot(TreeViewNode *node, int position)
{
    if (!mRoot || node->shownUnder() == mRoot)
        return;
    if (node->shownUnder())
        removeChild(node->shownUnder(), node);
    insertChild(mRoot, position, node);
}

// --- State rules ---

std::vector<TreeViewNode *> TreeViewController::stateChildren(const TreeViewNode *node) const
{
    std::vector<TreeViewNode *> children;
    for (TreeViewNode *child : node->children()) {
        if (child->parentNode() == node && !child->isPlaceholder())
            children.push_back(child);
    }
    if (isHomeNode(node)) {
        for (const QString &name : kHomeDefaultFolders) {
            TreeViewNode *folder = nodeForPath(node->fullPath() + '/' + name);
            if (folder && folder->parentNode() == node && folder->shownUnder() != node)
                children.push_back(folder);
        }
    }
    return children;
}

bool TreeViewController::hasChildIn(const TreeViewNode *node, std::initializer_list<int> states) const
{
    const auto children = stateChildren(node);
    return std::any_of(children.begin(), children.end(), [&](const TreeViewNode *child) {
        return std::find(states.begin(), states.end(), child->checkState()) != states.end();
    });
}

bool TreeViewController::allChildrenChecked(const TreeViewNode *node) const
{
    // A folder that shows nothing of its own under it is never checked through its
    // children: the home folder whose only shown items are the default folders at the
    // top would otherwise stand for the whole home, hidden items and all.
    const auto &shown = node->children();
    if (std::none_of(shown.begin(), shown.end(), [node](const TreeViewNode *child) {
            return child->parentNode() == node && !child->isPlaceholder();
        }))
        return false;
    const auto children = stateChildren(node);
    return std::all_of(children.begin(), children.end(),
                       [](const TreeViewNode *child) { return child->checkState() == TreeViewNode::Checked; });
}

bool TreeViewController::homeDefaultsAllUnchecked() const
{
    const TreeViewNode *home = homeNode();
    return std::all_of(kHomeDefaultFolders.begin(), kHomeDefaultFolders.end(), [&](const QString &name) {
        const TreeViewNode *folder = home ? nodeForPath(home->fullPath() + '/' + name) : nullptr;
        return !folder || folder->checkState() == TreeViewNode::Unchecked;
    });
}

void TreeViewController::updateChildNode(TreeViewNode *node)
{
    const int state = node->checkState();
    if (state == TreeViewNode::Mixed)
        return;
    for (TreeViewNode *child : stateChildren(node)) {
        child->setCheckBoxState(state);
        if (child->isExpanded())
            updateChildNode(child);
    }
}

void TreeViewController::markMixedUpward(TreeViewNode *node)
{
    for (; node; node = node->parentNode())
        node->setCheckBoxState(TreeViewNode::Mixed);
}

void TreeViewController::applyToggleRules(TreeViewNode *node)
{
    TreeViewNode *parent = node->parentNode();
    const int s = node->checkState();
    const int p = parent ? parent->checkState() : TreeViewNode::Unchecked;
    const auto pushDown = [&] {
        if (node->isExpanded())
            updateChildNode(node);
    };

    if (s == TreeViewNode::Checked && p == TreeViewNode::Checked) {
        node->setCheckBoxState(TreeViewNode::Unchecked);
        pushDown();
        // An ancestor that still holds a checked or mixed child stays mixed, and so
        // does everything above it.
        bool clean = true;
        for (TreeViewNode *a = parent; a; a = a->parentNode()) {
            if (clean && !hasChildIn(a, {TreeViewNode::Checked, TreeViewNode::Mixed}) &&
                !hasBackupPathBelow(a->fullPath())) {
                a->setCheckBoxState(TreeViewNode::Unchecked);
                continue;
            }
            clean = false;
            a->setCheckBoxState(TreeViewNode::Mixed);
        }
    } else if (s == TreeViewNode::Unchecked && p == TreeViewNode::Unchecked) {
        node->setCheckBoxState(TreeViewNode::Checked);
        pushDown();
        bool clean = true;
        for (TreeViewNode *a = parent; a; a = a->parentNode()) {
            if (clean && allChildrenChecked(a)) {
                a->setCheckBoxState(TreeViewNode::Checked);
                continue;
            }
            clean = false;
            a->setCheckBoxState(TreeViewNode::Mixed);
        }
    } else if ((s == TreeViewNode::Mixed && p == TreeViewNode::Mixed) || s == TreeViewNode::Unchecked) {
        node->setCheckBoxState(TreeViewNode::Checked);
        pushDown();
        for (TreeViewNode *a = parent; a && allChildrenChecked(a); a = a->parentNode())
            a->setCheckBoxState(TreeViewNode::Checked);
    } else if (s == TreeViewNode::Checked && p == TreeViewNode::Mixed) {
        node->setCheckBoxState(TreeViewNode::Unchecked);
        pushDown();
        for (TreeViewNode *a = parent; a; a = a->parentNode()) {
            if (hasChildIn(a, {TreeViewNode::Checked, TreeViewNode::Mixed}) || hasBackupPathBelow(a->fullPath()))
                break;
            if (isHomeNode(a) && !homeDefaultsAllUnchecked())
                break;
            a->setCheckBoxState(TreeViewNode::Unchecked);
        }
    } else if (!parent) {
        node->setCheckBoxState(s == TreeViewNode::Checked ? TreeViewNode::Unchecked : TreeViewNode::Checked);
    }
}

void TreeViewController::toggleCheckboxStateforNode(TreeViewNode *node)
{
    if (!node || node->isPlaceholder())
        return;
    applyToggleRules(node);
    if (mRoot)
        mRoot->setCheckBoxState(TreeViewNode::Mixed);
    removeBackupPathsBelow(node->fullPath());
    reload();
    if (mDelegate)
        mDelegate->saveDataToDisk();
}

void TreeViewController::settleStates()
{
    if (!mRoot)
        return;
    std::vector<TreeViewNode *> pending{mRoot};
    while (!pending.empty()) {
        TreeViewNode *node = pending.back();
        pending.pop_back();
        for (TreeViewNode *child : stateChildren(node)) {
            if (node != mRoot && node->checkState() != TreeViewNode::Mixed)
                child->setCheckBoxState(node->checkState());
            pending.push_back(child);
        }
    }
}

void TreeViewController::reload()
{
    settleStates();
    if (mDelegate)
        mDelegate->reloadData();
}

void TreeViewController::removeBackupPathsBelow(const QString &path)
{
    for (auto it = mBackupPaths.begin(); it != mBackupPaths.end();)
        it = isBelow(*it, path) ? mBackupPaths.erase(it) : std::next(it);
}

bool TreeViewController::hasBackupPathBelow(const QString &path) const
{
    return std::any_of(mBackupPaths.begin(), mBackupPaths.end(),
                       [&](const QString &backupPath) { return isBelow(backupPath, path); });
}

// --- Selecting and deselecting paths ---

int TreeViewController::stateFromHistory(const QString &path, int givenState)
{
    if (mHistoryPaths.remove(path))
        return TreeViewNode::Checked;
    bool movedAny = false;
    for (auto it = mHistoryPaths.begin(); it != mHistoryPaths.end();) {
        if (isBelow(*it, path)) {
            mBackupPaths.insert(*it);
            it = mHistoryPaths.erase(it);
            movedAny = true;
        } else {
            ++it;
        }
    }
    return movedAny ? int(TreeViewNode::Mixed) : givenState;
}

void TreeViewController::addNodeWithPath(const QString &givenPath, int checkBoxState, bool isDir,
                                         const QString &fileSize, const QString &fileVersion,
                                         const QString &modificationDate)
{
    if (!mRoot)
        return;
    const QString path = withoutTrailingSeparator(givenPath);
    if (TreeViewNode *node = nodeForPath(path)) {
        // Only a selection changes an existing node; a drive that shows up unchecked leaves it as it is.
        if (checkBoxState == TreeViewNode::Checked && node->checkState() != TreeViewNode::Checked)
            toggleCheckboxStateforNode(node);
        return;
    }

    if (TreeViewNode *parent = nodeForPath(parentPathOf(path))) {
        const int state = stateFromHistory(path, checkBoxState);
        if (parent->isExpanded() && !isAwaitingListing(parent)) {
            int nodeState = state;
            if (parent->checkState() == TreeViewNode::Checked) {
                nodeState = TreeViewNode::Checked;
            } else if (parent->checkState() == TreeViewNode::Unchecked && state == TreeViewNode::Checked) {
                markMixedUpward(parent);
            }
            TreeViewNode *node = createNode(path, parent, nodeState, isDir, fileSize, fileVersion, modificationDate);
            insertChild(parent, int(parent->children().size()), node);
        } else {
            if (parent->checkState() == TreeViewNode::Unchecked && state == TreeViewNode::Checked)
                markMixedUpward(parent);
            if (state == TreeViewNode::Checked)
                mBackupPaths.insert(path);
            else if (state == TreeViewNode::Mixed && parent->checkState() == TreeViewNode::Unchecked)
                markMixedUpward(parent);
        }
        reload();
        saveWithReload(false);
        return;
    }

    QString ancestorPath = parentPathOf(path);
    TreeViewNode *ancestor = nullptr;
    while (!ancestorPath.isEmpty() && !(ancestor = nodeForPath(ancestorPath)))
        ancestorPath = parentPathOf(ancestorPath);
    if (ancestor == mRoot) {
        // The drive the path lies on is not in the tree yet: it comes in mixed.
        const QString volumePath = mRoot->fullPath() + '/' + path.mid(mRoot->fullPath().size() + 1).section('/', 0, 0);
        stateFromHistory(volumePath, checkBoxState);
        if (mRoot->checkState() == TreeViewNode::Unchecked && checkBoxState == TreeViewNode::Checked)
            markMixedUpward(mRoot);
        TreeViewNode *volume = createNode(volumePath, mRoot, TreeViewNode::Mixed, true, QStringLiteral("-"), {}, {});
        insertChild(mRoot, int(mRoot->children().size()), volume);
        ancestor = nullptr;
    }
    if (ancestor && ancestor->checkState() == TreeViewNode::Unchecked)
        markMixedUpward(ancestor);
    if (checkBoxState == TreeViewNode::Checked)
        mBackupPaths.insert(path);
    reload();
    saveWithReload(false);
}

void TreeViewController::deselectPath(const QString &givenPath)
{
    const QString path = withoutTrailingSeparator(givenPath);
    if (TreeViewNode *node = nodeForPath(path)) {
        if (node->checkState() == TreeViewNode::Unchecked)
            return;
        // A mixed node is deselected as a whole.
        if (node->checkState() == TreeViewNode::Mixed)
            node->setCheckBoxState(TreeViewNode::Checked);
        applyToggleRules(node);
        if (mRoot)
            mRoot->setCheckBoxState(TreeViewNode::Mixed);
        removeBackupPathsBelow(node->fullPath());
        return;
    }
    mBackupPaths.remove(path);
    QString ancestorPath = parentPathOf(path);
    TreeViewNode *ancestor = nullptr;
    while (!ancestorPath.isEmpty() && !(ancestor = nodeForPath(ancestorPath)))
        ancestorPath = parentPathOf(ancestorPath);
    if (!ancestor || ancestor->checkState() != TreeViewNode::Mixed)
        return;
    // Clear mixed ancestors that nothing checked lies under any more.
    for (; ancestor && ancestor != mRoot; ancestor = ancestor->parentNode()) {
        if (hasBackupPathBelow(ancestor->fullPath()) ||
            hasChildIn(ancestor, {TreeViewNode::Checked, TreeViewNode::Mixed}))
            break;
        ancestor->setCheckBoxState(TreeViewNode::Unchecked);
    }
}

void TreeViewController::removeNodeWithPath(const QString &path)
{
    deselectPath(path);
    saveWithReload(true);
}

void TreeViewController::removeNodesWithPathArray(const QStringList &paths)
{
    for (const QString &path : paths) {
        const bool isStored = mRoot && mRoot->fullPath() == mLayout.volumesRoot && !mLayout.isUnderVolumesRoot(path);
        deselectPath(isStored ? mLayout.treePath(path) : path);
    }
    saveWithReload(true);
}

void TreeViewController::deleteNodeFromTreeWithPath(const QString &givenPath)
{
    const QString path = withoutTrailingSeparator(givenPath);
    TreeViewNode *node = nodeForPath(path);
    if (!node)
        return;
    if (node == mRoot) {
        replaceChildren(mRoot, {});
        if (mDelegate) {
            mDelegate->setmCancelOperation(true);
            mDelegate->reloadData();
        }
        clearAllNodes();
        mHistoryPaths.clear();
        mBackupPaths.clear();
        return;
    }
    TreeViewNode *parent = node->parentNode();
    if (parent != mRoot && parent->checkState() == TreeViewNode::Mixed) {
        if (node->checkState() == TreeViewNode::Mixed)
            node->setCheckBoxState(TreeViewNode::Checked);
        toggleCheckboxStateforNode(node);
    }
    // The selection inside the deleted part is remembered, the node itself included,
    // so that it comes back when the part does (a drive mounted again).
    QStringList gone = pathsBelow(path);
    gone.prepend(path);
    for (const QString &goneAway : std::as_const(gone)) {
        const TreeViewNode *item = nodeForPath(goneAway);
        const TreeViewNode *itemParent = item->parentNode();
        if (item->checkState() == TreeViewNode::Checked &&
            (!itemParent || itemParent->checkState() != TreeViewNode::Checked))
            mHistoryPaths.insert(goneAway);
    }
    for (auto it = mBackupPaths.begin(); it != mBackupPaths.end();) {
        if (isBelow(*it, path)) {
            mHistoryPaths.insert(*it);
            it = mBackupPaths.erase(it);
        } else {
            ++it;
        }
    }
    discardNodes(gone);
    saveWithReload(true);
}

void TreeViewController::removeAllNode()
{
    for (auto &[path, node] : mMapTable)
        node->setCheckBoxState(TreeViewNode::Unchecked);
    mBackupPaths.clear();
    if (mDelegate) {
        mDelegate->saveHistoryDataToDisk();
        mDelegate->saveEmptyDataToDisk();
    }
    reload();
}

void TreeViewController::saveWithReload(bool shouldReload)
{
    if (mDelegate) {
        mDelegate->saveHistoryDataToDisk();
        mDelegate->saveDataToDisk();
    }
    if (shouldReload)
        reload();
}

// --- The selection ---

QList<TreeViewNode *> TreeViewController::getAllSelectedNode() const
{
    QList<TreeViewNode *> selected;
    for (const auto &[path, node] : mMapTable) {
        const TreeViewNode *parent = node->parentNode();
        if (node->checkState() == TreeViewNode::Checked && (!parent || parent->checkState() != TreeViewNode::Checked))
            selected.append(node.get());
    }
    return selected;
}

TreeViewController::Selection TreeViewController::selection() const
{
    Selection selection;
    for (const auto &[path, node] : mMapTable) {
        const TreeViewNode *parent = node->parentNode();
        if (node->checkState() == TreeViewNode::Checked && (!parent || parent->checkState() != TreeViewNode::Checked))
            selection.topMostChecked.append(path);
    }
    selection.backupPaths = mBackupPaths;
    selection.hasRoot = mRoot != nullptr;
    if (mRoot) {
        for (const TreeViewNode *volume : mRoot->children()) {
            if (!volume->isPlaceholder())
                selection.volumePaths.append(volume->fullPath());
        }
    }
    return selection;
}

QStringList TreeViewController::maskedBackupSet(const Selection &selection, const LocalVolumeLayout &layout)
{
    QSet<QString> stored;
    for (const QString &path : selection.topMostChecked)
        stored.insert(layout.storedForm(path));
    for (const QString &path : selection.backupPaths)
        stored.insert(layout.storedForm(path));
    // The whole tree checked stands for every drive, the start-up disk included.
    const QString everything = layout.volumesRoot;
    if (selection.hasRoot && stored == QSet<QString>{everything}) {
        stored = {QStringLiteral("/")};
        for (const QString &volume : selection.volumePaths)
            stored.insert(layout.storedForm(volume));
    }
    if (selection.backupPaths.size() >= 2)
        stored.remove(everything);
    QStringList paths(stored.begin(), stored.end());
    paths.sort();
    return paths;
}

void TreeViewController::forgetChildrenKeepingSelection(TreeViewNode *folder)
{
    const QStringList below = pathsBelow(folder->fullPath());
    for (const QString &path : below) {
        if (nodeForPath(path)->checkState() == TreeViewNode::Checked)
            mBackupPaths.insert(path);
    }
    replaceChildren(folder, {});
    discardNodes(below);
}

// --- Listing ---

TreeViewNode *TreeViewController::listedNode(TreeViewNode *folder, const ListedEntry &entry)
{
    const QString path = folder->fullPath() + '/' + entry.name;
    TreeViewNode *node = nodeForPath(path);
    if (!node) {
        const int folderState = folder->checkState();
        const int state =
            folderState == TreeViewNode::Checked ? int(TreeViewNode::Checked) : int(TreeViewNode::Unchecked);
        node = createNode(path, folder, state, entry.isDir, entry.sizeText, {}, entry.dateText);
    }
    node->setLink(entry.link);
    node->setIsExcluded(entry.isUserExcluded || folder->isExcluded());
    return node;
}

void TreeViewController::showListedChildren(TreeViewNode *folder, const std::vector<TreeViewNode *> &nodes,
                                            const QStringList &leftOut)
{
    // The checked paths waiting below this folder, by the name of the item they lie in.
    const QString prefix = folder->fullPath() + '/';
    QSet<QString> checkedNames;
    QSet<QString> namesWithCheckedBelow;
    for (const QString &path : std::as_const(mBackupPaths)) {
        if (!path.startsWith(prefix))
            continue;
        const QString rest = path.mid(prefix.size());
        const qsizetype slash = rest.indexOf('/');
        (slash < 0 ? checkedNames : namesWithCheckedBelow).insert(slash < 0 ? rest : rest.left(slash));
    }

    std::vector<TreeViewNode *> shown;
    shown.reserve(nodes.size());
    for (TreeViewNode *node : nodes) {
        if (checkedNames.contains(node->relativePath())) {
            node->setCheckBoxState(TreeViewNode::Checked);
            mBackupPaths.remove(node->fullPath());
        } else if (namesWithCheckedBelow.contains(node->relativePath()) &&
                   node->checkState() != TreeViewNode::Checked) {
            node->setCheckBoxState(TreeViewNode::Mixed);
        }
        if (leftOut.isEmpty() || !leftOut.contains(node->relativePath()))
            shown.push_back(node);
    }

    // A folder whose only item is checked is checked itself, and so on upward
    // through folders that hold a single item.
    if (nodes.size() == 1 && nodes.front()->checkState() == TreeViewNode::Checked) {
        for (TreeViewNode *a = folder; a && a != mRoot; a = a->parentNode()) {
            if (a != folder && stateChildren(a).size() != 1)
                break;
            a->setCheckBoxState(TreeViewNode::Checked);
        }
    }
    folder->setIsExpanded(true);
    replaceChildren(folder, std::move(shown));
    reload();
}

void TreeViewController::installListedChildren(TreeViewNode *folder, const QVector<ListedEntry> &entries,
                                               const QStringList &leftOut)
{
    std::vector<TreeViewNode *> nodes;
    nodes.reserve(size_t(entries.size()));
    for (const ListedEntry &entry : entries)
        nodes.push_back(listedNode(folder, entry));
    showListedChildren(folder, nodes, leftOut);
}

void TreeViewController::excludeNode(TreeViewNode *node)
{
    if (!node->isExpanded())
        return;
    for (TreeViewNode *child : stateChildren(node)) {
        child->setIsExcluded(node->isExcluded());
        excludeNode(child);
    }
}
