#pragma once

#include "client/browser/tree/RemoteFolderListing.h"
#include "client/common/tree/TreeViewNode.h"

#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <vector>

class RemoteTreeObserver;

// The destination tree: what is stored on the drive for the user, one folder
// level at a time, with check boxes. It owns the nodes in its map table (node
// path -> node; paths relative to the data root, no leading "/", the root "")
// and a "Loading..." placeholder under each folder whose listing is under
// way. A listing's result replaces the children of the node found under its
// path when it arrives; a folder gone by then changes nothing.
class RemoteTreeController : private RemoteFolderListingReceiver
{
public:
    struct Hooks
    {
        // Whether names starting with "." are shown (the monitor's preference).
        std::function<bool()> showHiddenFiles;
        // A listing made at least one row (the Restore guide may show).
        std::function<void()> rowsListed;
        // A listing ended with rows (the post-login set-up runs).
        std::function<void()> listingFinished;
    };

    static inline const QString kLoadingText = QStringLiteral("Loading...");
    static inline const QString kListingFailedText = QStringLiteral("Unable to list folder. Try later.");

    RemoteTreeController(RemoteFolderListing &listing, Hooks hooks);
    ~RemoteTreeController() override;

    void setObserver(RemoteTreeObserver *observer) { mObserver = observer; }

    TreeViewNode &rootItem() const { return *mRootItem; }
    // The node of a path from the map table; null when there is none.
    TreeViewNode *nodeForPath(const QString &path) const;
    bool isListing(const TreeViewNode &folder) const;

    // Empties the tree and lists the root again.
    void refresh();
    // Empties the tree and lists nothing: there is no data root to list.
    void clearWithMessage(const QString &message);
    // A folder opened in the outline: listed at its first opening (or after a refresh emptied it).
    void expandNode(TreeViewNode &folder);
    // Lists an opened folder again.
    void refreshFolder(TreeViewNode &folder);

    // On becomes off; off and mixed become on. Children and parents follow.
    void toggleCheckboxStateforNode(TreeViewNode &node);
    // An item renamed on the drive: the node and every path below it take the new
    // path (only the leading part of each key changes). Nothing happens when no
    // node has the old path or one has the new path.
    void renameNode(const QString &oldPath, const QString &newPath);
    // An item gone from the drive: its node and everything below it leave the tree.
    void deleteNodeFromTreeWithPath(const QString &path);

    // The checked items to restore: each checked node whose folder is not checked as a whole, in tree order.
    std::vector<TreeViewNode *> getAllSelectedNode() const;

private:
    void folderListed(const QString &folderPath, const QList<RemoteEntry> &entries) override;
    void folderListingFailed(const QString &folderPath) override;

    void setRootNodeWithPath();
    void startListing(TreeViewNode &folder);
    void replaceChildren(TreeViewNode &folder, std::vector<TreeViewNode *> children);
    // Drops the nodes below the folder (and their placeholders) from the map table.
    void forgetNodesBelow(TreeViewNode &folder);
    void setStateBelow(TreeViewNode &node, int state);
    template <typename Map>
    static void rekeyBelow(Map &map, const QString &oldPath, const QString &newPath);
    void settleStateAbove(TreeViewNode &node);

    RemoteFolderListing &mListing;
    Hooks mHooks;
    RemoteTreeObserver *mObserver = nullptr;
    std::unique_ptr<TreeViewNode> mRootItem;
    std::map<QString, std::unique_ptr<TreeViewNode>> mMapTable;
    // The placeholder of each folder being listed, by the folder's path.
    std::map<QString, std::unique_ptr<TreeViewNode>> mDummyNodes;
};
