#include "client/browser/tree/RemoteTreeController.h"

#include "client/browser/tree/RemoteTreeObserver.h"
#include "client/browser/tree/RemoteTreeRules.h"

RemoteTreeController::RemoteTreeController(RemoteFolderListing &listing, Hooks hooks)
    : mListing(listing)
    , mHooks(std::move(hooks))
{
    mListing.setReceiver(this);
    setRootNodeWithPath();
}

RemoteTreeController::~RemoteTreeController()
{
    mListing.cancelAll();
    mListing.setReceiver(nullptr);
}

void RemoteTreeController::setRootNodeWithPath()
{
    mMapTable.clear();
    mDummyNodes.clear();
    mRootItem =
        std::make_unique<TreeViewNode>(QString(), nullptr, TreeViewNode::Mixed, true, QString(), QString(), QString());
}

TreeViewNode *RemoteTreeController::nodeForPath(const QString &path) const
{
    if (path.isEmpty())
        return mRootItem.get();
    const auto found = mMapTable.find(path);
    return found == mMapTable.end() ? nullptr : found->second.get();
}

bool RemoteTreeController::isListing(const TreeViewNode &folder) const
{
    return mDummyNodes.count(folder.fullPath()) > 0;
}

void RemoteTreeController::refresh()
{
    mListing.cancelAll();
    if (mObserver)
        mObserver->treeWillReset();
    setRootNodeWithPath();
    if (mObserver)
        mObserver->treeDidReset();
    startListing(*mRootItem);
}

void RemoteTreeController::clearWithMessage(const QString &message)
{
    mListing.cancelAll();
    if (mObserver)
        mObserver->treeWillReset();
    setRootNodeWithPath();
    if (mObserver) {
        mObserver->treeDidReset();
        mObserver->showStatusMessage(message);
    }
}

void RemoteTreeController::expandNode(TreeViewNode &folder)
{
    if (folder.isAFile() || folder.isPlaceholder() || isListing(folder) || !folder.children().empty())
        return;
    startListing(folder);
}

void RemoteTreeController::refreshFolder(TreeViewNode &folder)
{
    if (folder.isAFile() || folder.isPlaceholder() || isListing(folder))
        return;
    startListing(folder);
}

void RemoteTreeController::startListing(TreeViewNode &folder)
{
    auto placeholder = std::make_unique<TreeViewNode>(kLoadingText, nullptr, TreeViewNode::Mixed, false, QString(),
                                                      QString(), QString());
    placeholder->setIsPlaceholder(true);
    TreeViewNode *shown = placeholder.get();
    forgetNodesBelow(folder);
    replaceChildren(folder, {shown});
    mDummyNodes[folder.fullPath()] = std::move(placeholder);
    folder.setIsExpanded(true);
    mListing.list(folder.fullPath());
}

void RemoteTreeController::replaceChildren(TreeViewNode &folder, std::vector<TreeViewNode *> children)
{
    const int old = int(folder.children().size());
    if (old > 0) {
        if (mObserver)
            mObserver->childrenWillBeRemoved(folder, old);
        folder.setChildren({});
        if (mObserver)
            mObserver->childrenRemoved();
    }
    if (children.empty())
        return;
    if (mObserver)
        mObserver->childrenWillBeInserted(folder, int(children.size()));
    folder.setChildren(std::move(children));
    if (mObserver)
        mObserver->childrenInserted();
}

void RemoteTreeController::forgetNodesBelow(TreeViewNode &folder)
{
    const QString prefix = folder.fullPath().isEmpty() ? QString() : folder.fullPath() + QLatin1Char('/');
    const auto below = [&prefix](const QString &path) { return prefix.isEmpty() || path.startsWith(prefix); };
    // The folder's own rows go first, so that no shown row points at a destroyed node.
    replaceChildren(folder, {});
    for (auto it = mMapTable.begin(); it != mMapTable.end();)
        it = below(it->first) ? mMapTable.erase(it) : std::next(it);
    for (auto it = mDummyNodes.begin(); it != mDummyNodes.end();)
        it = it->first == folder.fullPath() || below(it->first) ? mDummyNodes.erase(it) : std::next(it);
}

void RemoteTreeController::folderListed(const QString &folderPath, const QList<RemoteEntry> &entries)
{
    TreeViewNode *folder = nodeForPath(folderPath);
    if (!folder)
        return;  // emptied by a refresh since
    const bool showHidden = mHooks.showHiddenFiles && mHooks.showHiddenFiles();
    forgetNodesBelow(*folder);
    std::vector<TreeViewNode *> children;
    for (const RemoteTreeRules::ListedNode &listed :
         RemoteTreeRules::nodesFromListing(entries, folderPath, folder->checkState(), showHidden)) {
        auto node = std::make_unique<TreeViewNode>(listed.fullPath, folder, listed.checkState, listed.isFolder,
                                                   listed.sizeText, listed.versionText, listed.modificationDate);
        children.push_back(node.get());
        mMapTable[listed.fullPath] = std::move(node);
    }
    const bool made = !children.empty();
    replaceChildren(*folder, std::move(children));
    folder->setIsExpanded(true);
    if (made && mHooks.rowsListed)
        mHooks.rowsListed();
    if (mHooks.listingFinished)
        mHooks.listingFinished();
}

void RemoteTreeController::folderListingFailed(const QString &folderPath)
{
    TreeViewNode *folder = nodeForPath(folderPath);
    if (!folder)
        return;
    // Only this folder is emptied; opening it again lists it again.
    forgetNodesBelow(*folder);
    folder->setIsExpanded(false);
    if (mObserver)
        mObserver->showStatusMessage(kListingFailedText);
}

void RemoteTreeController::toggleCheckboxStateforNode(TreeViewNode &node)
{
    if (node.isPlaceholder() || &node == mRootItem.get())
        return;
    const int state = node.checkState() == TreeViewNode::Checked ? TreeViewNode::Unchecked : TreeViewNode::Checked;
    setStateBelow(node, state);
    settleStateAbove(node);
    if (mObserver)
        mObserver->checkStatesChanged();
}

void RemoteTreeController::setStateBelow(TreeViewNode &node, int state)
{
    if (node.isPlaceholder())
        return;
    node.setCheckBoxState(state);
    for (TreeViewNode *child : node.children())
        setStateBelow(*child, state);
}

void RemoteTreeController::settleStateAbove(TreeViewNode &node)
{
    for (TreeViewNode *folder = node.parentNode(); folder && folder != mRootItem.get(); folder = folder->parentNode()) {
        bool allOn = true;
        bool allOff = true;
        for (const TreeViewNode *child : folder->children()) {
            if (child->isPlaceholder())
                continue;
            allOn = allOn && child->checkState() == TreeViewNode::Checked;
            allOff = allOff && child->checkState() == TreeViewNode::Unchecked;
        }
        folder->setCheckBoxState(allOn    ? TreeViewNode::Checked
                                 : allOff ? TreeViewNode::Unchecked
                                          : TreeViewNode::Mixed);
    }
}

std::vector<TreeViewNode *> RemoteTreeController::getAllSelectedNode() const
{
    std::vector<TreeViewNode *> selected;
    std::vector<TreeViewNode *> pending(mRootItem->children().rbegin(), mRootItem->children().rend());
    while (!pending.empty()) {
        TreeViewNode *node = pending.back();
        pending.pop_back();
        if (node->isPlaceholder())
            continue;
        if (node->checkState() == TreeViewNode::Checked)
            selected.push_back(node);
        else if (node->checkState() == TreeViewNode::Mixed)
            pending.insert(pending.end(), node->children().rbegin(), node->children().rend());
    }
    return selected;
}

template <typename Map>
void RemoteTreeController::rekeyBelow(Map &map, const QString &oldPath, const QString &newPath)
{
    std::vector<typename Map::node_type> moved;
    for (auto it = map.begin(); it != map.end();) {
        if (RemoteTreeRules::isAtOrBelow(it->first, oldPath))
            moved.push_back(map.extract(it++));
        else
            ++it;
    }
    for (auto &entry : moved) {
        entry.key() = RemoteTreeRules::rekeyedPath(entry.key(), oldPath, newPath);
        map.insert(std::move(entry));
    }
}

void RemoteTreeController::renameNode(const QString &oldPath, const QString &newPath)
{
    TreeViewNode *node = nodeForPath(oldPath);
    if (!node || node == mRootItem.get() || oldPath == newPath || nodeForPath(newPath))
        return;
    rekeyBelow(mMapTable, oldPath, newPath);
    rekeyBelow(mDummyNodes, oldPath, newPath);
    node->renameTreeNodeWithName(newPath.section(QLatin1Char('/'), -1));
    if (mObserver)
        mObserver->nodeChanged(*node);
}

void RemoteTreeController::deleteNodeFromTreeWithPath(const QString &path)
{
    TreeViewNode *node = nodeForPath(path);
    if (!node || node == mRootItem.get())
        return;
    TreeViewNode *folder = node->shownUnder();
    forgetNodesBelow(*node);
    if (folder) {
        if (mObserver)
            mObserver->childWillBeRemoved(*folder, node->row());
        folder->removeChild(node);
        if (mObserver)
            mObserver->childrenRemoved();
    }
    mMapTable.erase(path);
    // The folder's box follows what is left in it.
    for (TreeViewNode *child : folder ? folder->children() : std::vector<TreeViewNode *>{}) {
        if (!child->isPlaceholder()) {
            settleStateAbove(*child);
            break;
        }
    }
    if (mObserver)
        mObserver->checkStatesChanged();
}
