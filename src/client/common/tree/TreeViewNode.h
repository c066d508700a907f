#pragma once

#include <QString>

#include <vector>

// One row of the local tree: a file or folder with its check state.
//
// Nodes are owned by their tree's path map; a node refers to its parent (the
// folder it lies in) and lists the children shown below it. The two differ only
// for the home folder's default folders, which are shown at the top of the tree
// while they still lie in the home folder.
class TreeViewNode
{
public:
    enum CheckState : int
    {
        Mixed = -1,
        Unchecked = 0,
        Checked = 1
    };
    // What a symbolic link points at. A link is shown as an item of its own, never
    // opened: the engine stores it as a link and does not follow it.
    enum class Link
    {
        NotALink,
        ToFile,
        ToFolder
    };

    TreeViewNode(const QString &fullPath, TreeViewNode *parent, int checkState, bool isDir, const QString &fileSize,
                 const QString &fileVersion, const QString &modificationDate);

    // The path is the node's full path: its parent's full path and its name.
    // The name when the node has a parent, else the whole path.
    const QString &relativePath() const { return mRelativePath; }
    const QString &fullPath() const { return mFullPath; }
    TreeViewNode *parentNode() const { return mParent; }

    // The rows shown below the node; empty until the folder was listed.
    const std::vector<TreeViewNode *> &children() const { return mChildren; }
    TreeViewNode *childAtIndex(int index) const;
    // -1 for a file, else the number of children.
    int numberOfChildren() const { return mIsAFile ? -1 : int(mChildren.size()); }
    void setChildren(std::vector<TreeViewNode *> children);
    void insertChild(int index, TreeViewNode *child);
    void removeChild(TreeViewNode *child);
    int indexOfChild(const TreeViewNode *child) const;
    // The node's row among the children of the node it is shown under.
    int row() const { return mRow; }
    // The node whose children list shows this one (null when it is shown nowhere).
    TreeViewNode *shownUnder() const { return mShownUnder; }

    int checkState() const { return mCheckState; }
    void setCheckBoxState(int state) { mCheckState = state; }
    bool isAFile() const { return mIsAFile; }
    Link link() const { return mLink; }
    void setLink(Link link) { mLink = link; }
    // True once the folder's children were asked for.
    bool isExpanded() const { return mIsExpanded; }
    void setIsExpanded(bool expanded) { mIsExpanded = expanded; }
    bool isExcluded() const { return mIsExcluded; }
    void setIsExcluded(bool excluded) { mIsExcluded = excluded; }
    // The "Loading..." row shown while a folder is listed.
    bool isPlaceholder() const { return mIsPlaceholder; }
    void setIsPlaceholder(bool placeholder) { mIsPlaceholder = placeholder; }

    const QString &getFileSize() const { return mFileSize; }
    void setFileSize(const QString &size) { mFileSize = size; }
    const QString &getModificationDate() const { return mModificationDate; }
    const QString &getFileVersion() const { return mFileVersion; }

    // Sibling order: "BackUp_nightly" items first (among themselves in literal
    // character order), then folders before files, then by path ignoring case.
    static bool isOrderedBefore(const QString &leftName, bool leftIsDir, const QString &rightName, bool rightIsDir);
    bool compare(const TreeViewNode &other) const;
    // Orders by the parents' full paths (the grouping of a selection by folder).
    bool compareParentFolderPath(const TreeViewNode &other) const;

    // The item was renamed where it lies: its name, its full path and those of
    // every node below it follow. The tree's map is re-keyed by its owner.
    void renameTreeNodeWithName(const QString &name);

private:
    void renumberFrom(size_t first);
    void setFullPathBelow(const QString &fullPath);

    QString mRelativePath;
    QString mFullPath;
    TreeViewNode *mParent;
    TreeViewNode *mShownUnder = nullptr;
    int mRow = -1;
    std::vector<TreeViewNode *> mChildren;
    int mCheckState;
    bool mIsAFile;
    Link mLink = Link::NotALink;
    bool mIsExpanded = false;
    bool mIsExcluded = false;
    bool mIsPlaceholder = false;
    QString mFileSize;
    QString mModificationDate;
    QString mFileVersion;
};
