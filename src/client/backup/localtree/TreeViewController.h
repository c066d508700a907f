#pragma once

#include "client/backup/localtree/ListedEntry.h"
#include "client/common/tree/TreeViewNode.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <unordered_map>

class LocalVolumeLayout;
class TreeStructureObserver;
class TreeViewControllerDelegate;

// The tree of files and folders with check states: its path map, the checked
// paths not yet in the tree (the backup set) and the checked paths that are
// gone for now (the history set), and the rules that keep the states of a
// node, its ancestors and its descendants in step. Main thread only.
class TreeViewController
{
public:
    // The home folder's default folders, shown at the top of the local tree.
    static const QStringList kHomeDefaultFolders;

    explicit TreeViewController(const LocalVolumeLayout &layout);
    ~TreeViewController();
    TreeViewController(const TreeViewController &) = delete;
    TreeViewController &operator=(const TreeViewController &) = delete;

    void setDelegate(TreeViewControllerDelegate *delegate);
    void setStructureObserver(TreeStructureObserver *observer) { mObserver = observer; }

    void setRootNodeWithPath(const QString &path);
    TreeViewNode *mRootItem() const { return mRoot; }
    TreeViewNode *nodeForPath(const QString &path) const;
    // The home folder node of the local tree, when it is listed.
    TreeViewNode *homeNode() const;
    // Incremented whenever the tree is emptied, so that late listings are dropped.
    quint64 generation() const { return mGeneration; }

    // --- Check states ---
    void toggleCheckboxStateforNode(TreeViewNode *node);
    void updateChildNode(TreeViewNode *node);
    void addNodeWithPath(const QString &path, int checkBoxState, bool isDir, const QString &fileSize,
                         const QString &fileVersion, const QString &modificationDate);
    void removeNodeWithPath(const QString &path);
    // The stored form of each path is first turned into a tree path.
    void removeNodesWithPathArray(const QStringList &paths);
    void deleteNodeFromTreeWithPath(const QString &path);
    void removeAllNode();
    void saveWithReload(bool reload);

    // --- The selection ---
    // What the stored selection is made of, taken in one quick pass over the tree, so that
    // turning it into the stored form (the long part for a large selection) can run elsewhere.
    struct Selection
    {
        QStringList topMostChecked;  // tree paths
        QSet<QString> backupPaths;
        QStringList volumePaths;  // the root's drives, when there is a root
        bool hasRoot = false;
    };
    Selection selection() const;
    // The selection as stored: the top-most checked nodes and the backup set, in stored form.
    static QStringList maskedBackupSet(const Selection &selection, const LocalVolumeLayout &layout);
    QStringList getMaskedBackupSet() const { return maskedBackupSet(selection(), mLayout); }
    // The top-most checked nodes.
    QList<TreeViewNode *> getAllSelectedNode() const;
    const QSet<QString> &mBackupSet() const { return mBackupPaths; }
    const QSet<QString> &getHistorySet() const { return mHistoryPaths; }
    void setBackupSet(const QSet<QString> &paths) { mBackupPaths = paths; }
    void setHistorySet(const QSet<QString> &paths) { mHistoryPaths = paths; }
    void clearBackupSet() { mBackupPaths.clear(); }
    // Adds the paths below a folder to the backup set when they are checked, and
    // forgets the folder's children (a folder about to be listed again).
    void forgetChildrenKeepingSelection(TreeViewNode *folder);

    // --- Rows ---
    void clearAllNodes();
    // Shows a "Loading..." row below a folder that is about to be listed.
    void addPlaceholder(TreeViewNode *folder, const QString &message);
    bool isAwaitingListing(const TreeViewNode *folder) const;
    // A node for a listed item of the folder (the existing one when there is
    // one), in the folder's state; not shown yet.
    TreeViewNode *listedNode(TreeViewNode *folder, const ListedEntry &entry);
    // Shows a finished listing's nodes as the folder's children (states from the
    // backup set, a single checked item lifting its folders). Nodes named in
    // leftOut are not shown below the folder.
    void showListedChildren(TreeViewNode *folder, const std::vector<TreeViewNode *> &nodes,
                            const QStringList &leftOut = {});
    // Both steps at once.
    void installListedChildren(TreeViewNode *folder, const QVector<ListedEntry> &entries,
                               const QStringList &leftOut = {});
    // Incremented whenever nodes are thrown away, so that pointers kept across
    // turns of the event loop are known to be stale.
    quint64 discards() const { return mDiscards; }
    // Shows a node at a position among the root's children.
    void showAtTopOfRoot(TreeViewNode *node, int position);
    void removePlaceholder(TreeViewNode *folder);

    // Check states, exclusion flags: passes a folder's flag down its listed subtree.
    void excludeNode(TreeViewNode *node);

private:
    TreeViewNode *createNode(const QString &path, TreeViewNode *parent, int state, bool isDir, const QString &fileSize,
                             const QString &fileVersion, const QString &date);
    // Children for the state rules: the shown ones plus, for the home folder, its
    // default folders shown at the top.
    std::vector<TreeViewNode *> stateChildren(const TreeViewNode *node) const;
    bool hasChildIn(const TreeViewNode *node, std::initializer_list<int> states) const;
    bool allChildrenChecked(const TreeViewNode *node) const;
    bool isHomeNode(const TreeViewNode *node) const;
    bool homeDefaultsAllUnchecked() const;
    void applyToggleRules(TreeViewNode *node);
    void markMixedUpward(TreeViewNode *node);
    void removeBackupPathsBelow(const QString &path);
    bool hasBackupPathBelow(const QString &path) const;
    int stateFromHistory(const QString &path, int givenState);
    // Deselects one path without saving or reloading.
    void deselectPath(const QString &path);
    // A child of a checked folder is checked, of an unchecked one unchecked.
    void settleStates();
    void reload();

    // True when the node is the root or is shown below it.
    bool isShown(const TreeViewNode *node) const;
    // Row changes told to the observer.
    void replaceChildren(TreeViewNode *parent, std::vector<TreeViewNode *> children);
    void insertChild(TreeViewNode *parent, int position, TreeViewNode *child);
    void removeChild(TreeViewNode *parent, TreeViewNode *child);
    void discardNodes(const QStringList &paths);
    QStringList pathsBelow(const QString &path) const;

    const LocalVolumeLayout &mLayout;
    TreeViewControllerDelegate *mDelegate = nullptr;
    QString mHomePath;  // the local tree's home folder; "" for another tree
    TreeStructureObserver *mObserver = nullptr;
    std::unordered_map<QString, std::unique_ptr<TreeViewNode>> mMapTable;
    std::vector<std::unique_ptr<TreeViewNode>> mPlaceholders;
    TreeViewNode *mRoot = nullptr;
    QSet<QString> mBackupPaths;
    QSet<QString> mHistoryPaths;
    quint64 mGeneration = 0;
    quint64 mDiscards = 0;
};
