#include "client/browser/tree/RemoteTreeRules.h"

#include "client/common/destination/BackupDestination.h"
#include "client/common/tree/TreeViewNode.h"
#include "common/account/User.h"
#include "common/utility/QLUtility.h"

#include <algorithm>

namespace RemoteTreeRules {

bool isShown(const QString &name, bool showHidden)
{
    if (name.endsWith(QLatin1String(".txxlist")))
        return false;
    return showHidden || !name.startsWith(QLatin1Char('.'));
}

QList<ListedNode> nodesFromListing(const QList<RemoteEntry> &entries, const QString &parentPath, int parentState,
                                   bool showHidden)
{
    const int childState = parentState == TreeViewNode::Checked ? TreeViewNode::Checked : TreeViewNode::Unchecked;
    QList<ListedNode> nodes;
    for (const RemoteEntry &entry : entries) {
        if (!isShown(entry.name, showHidden))
            continue;
        ListedNode node;
        node.fullPath = parentPath.isEmpty() ? entry.name : parentPath + QLatin1Char('/') + entry.name;
        node.isFolder = entry.isFolder;
        node.sizeText =
            entry.isFolder ? QStringLiteral("-") : QLUtility::formatedFileSizeForOutlineView(entry.fileSize.toDouble());
        node.modificationDate = entry.modificationDate;
        node.versionText = entry.versionInfo;
        node.checkState = childState;
        nodes.append(node);
    }
    const auto name = [](const ListedNode &node) { return node.fullPath.mid(node.fullPath.lastIndexOf('/') + 1); };
    std::stable_sort(nodes.begin(), nodes.end(), [&name](const ListedNode &left, const ListedNode &right) {
        return TreeViewNode::isOrderedBefore(name(left), left.isFolder, name(right), right.isFolder);
    });
    return nodes;
}

QString shownName(const QString &name, const User &account)
{
    if (account.isRuvoUser() || !name.contains(QLatin1String("BackUp_nightly")) || account.UserName().isEmpty())
        return name;
    return QString(name).replace(account.UserName(), account.LoggedUserName());
}

QString dataRoot(const QString &volumePath, const User &account, bool backupMode)
{
    return BackupDestination::accountFolder(volumePath, account, backupMode);
}

bool isAtOrBelow(const QString &path, const QString &folder)
{
    return path == folder || (path.startsWith(folder) && path.at(folder.size()) == QLatin1Char('/'));
}

QString rekeyedPath(const QString &path, const QString &oldFolder, const QString &newFolder)
{
    return isAtOrBelow(path, oldFolder) ? newFolder + path.mid(oldFolder.size()) : path;
}

}  // namespace RemoteTreeRules
