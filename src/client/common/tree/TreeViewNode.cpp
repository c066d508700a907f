#include "client/common/tree/TreeViewNode.h"

#include <algorithm>

namespace {

const QString kNightlyPrefix = QStringLiteral("BackUp_nightly");

QString lastComponent(const QString &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? path : path.mid(slash + 1);
}

}  // namespace

TreeViewNode::TreeViewNode(const QString &fullPath, TreeViewNode *parent, int checkState, bool isDir,
                           const QString &fileSize, const QString &fileVersion, const QString &modificationDate)
    : mRelativePath(parent ? lastComponent(fullPath) : fullPath)
    , mFullPath(fullPath)
    , mParent(parent)
    , mCheckState(checkState)
    , mIsAFile(!isDir)
    , mFileSize(fileSize)
    , mModificationDate(modificationDate)
    , mFileVersion(fileVersion)
{}

TreeViewNode *TreeViewNode::childAtIndex(int index) const
{
    return index >= 0 && index < int(mChildren.size()) ? mChildren[size_t(index)] : nullptr;
}

void TreeViewNode::setChildren(std::vector<TreeViewNode *> children)
{
    for (TreeViewNode *child : mChildren) {
        if (child->mShownUnder == this)
            child->mShownUnder = nullptr;
    }
    mChildren = std::move(children);
    for (TreeViewNode *child : mChildren)
        child->mShownUnder = this;
    renumberFrom(0);
}

void TreeViewNode::renumberFrom(size_t first)
{
    for (size_t row = first; row < mChildren.size(); ++row)
        mChildren[row]->mRow = int(row);
}

void TreeViewNode::insertChild(int index, TreeViewNode *child)
{
    const int position = std::clamp(index, 0, int(mChildren.size()));
    mChildren.insert(mChildren.begin() + position, child);
    child->mShownUnder = this;
    renumberFrom(size_t(position));
}

void TreeViewNode::removeChild(TreeViewNode *child)
{
    const auto found = std::find(mChildren.begin(), mChildren.end(), child);
    if (found == mChildren.end())
        return;
    const size_t position = size_t(found - mChildren.begin());
    mChildren.erase(found);
    child->mShownUnder = nullptr;
    child->mRow = -1;
    renumberFrom(position);
}

int TreeViewNode::indexOfChild(const TreeViewNode *child) const
{
    return child && child->mShownUnder == this ? child->mRow : -1;
}

bool TreeViewNode::isOrderedBefore(const QString &leftName, bool leftIsDir, const QString &rightName, bool rightIsDir)
{
    const bool leftNightly = leftName.startsWith(kNightlyPrefix);
    const bool rightNightly = rightName.startsWith(kNightlyPrefix);
    if (leftNightly && rightNightly)
        return QString::compare(leftName, rightName, Qt::CaseSensitive) < 0;
    if (leftNightly != rightNightly)
        return leftNightly;
    if (leftIsDir != rightIsDir)
        return leftIsDir;
    // Siblings share their folder, so comparing names compares full paths.
    return QString::compare(leftName, rightName, Qt::CaseInsensitive) < 0;
}

bool TreeViewNode::compare(const TreeViewNode &other) const
{
    return isOrderedBefore(mRelativePath, !mIsAFile, other.mRelativePath, !other.mIsAFile);
}

bool TreeViewNode::compareParentFolderPath(const TreeViewNode &other) const
{
    const QString mine = mParent ? mParent->fullPath() : QString();
    const QString theirs = other.mParent ? other.mParent->fullPath() : QString();
    return mine < theirs;
}

void TreeViewNode::renameTreeNodeWithName(const QString &name)
{
    mRelativePath = name;
    const QString parentPath = mParent ? mParent->fullPath() : QString();
    setFullPathBelow(parentPath.isEmpty() ? name : parentPath + QLatin1Char('/') + name);
}

void TreeViewNode::setFullPathBelow(const QString &fullPath)
{
    mFullPath = fullPath;
    for (TreeViewNode *child : mChildren) {
        if (!child->mIsPlaceholder && child->mParent == this)
            child->setFullPathBelow(fullPath + QLatin1Char('/') + child->mRelativePath);
    }
}
