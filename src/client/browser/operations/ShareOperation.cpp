#include "client/browser/operations/ShareOperation.h"

#include "client/browser/host/OperationsHost.h"
#include "client/browser/host/Workspace.h"
#include "client/browser/operations/RemoteActivity.h"
#include "client/browser/tree/RemoteTreeController.h"
#include "client/common/tree/TreeViewNode.h"
#include "common/account/User.h"

ShareOperation::ShareOperation(RemoteActivity &activity, RemoteTreeController *tree, Workspace &workspace,
                               std::chrono::milliseconds tokenTimeout)
    : mActivity(activity)
    , mTree(tree)
    , mToken([&workspace](const QUrl &page) { workspace.openURL(page); }, tokenTimeout)
{}

void ShareOperation::shareFile()
{
    mActivity.host().setDisplayRefreshGuide(false);
    QList<WebPageToken::SharedItem> items;
    if (mTree) {
        for (const TreeViewNode *node : mTree->getAllSelectedNode())
            items.append({node->fullPath(), !node->isAFile()});
    }
    share(items);
}

void ShareOperation::shareFileFromMenu(const TreeViewNode *clicked)
{
    if (!clicked)
        return;
    share({{clicked->fullPath(), !clicked->isAFile()}});
}

void ShareOperation::share(const QList<WebPageToken::SharedItem> &items)
{
    const User &account = mActivity.host().userObject();
    if (!account.isDefaultKey()) {
        mActivity.inform(kPrivateKeyText);
        return;
    }
    if (items.isEmpty()) {
        mActivity.inform(kNothingToShareText);
        return;
    }
    mToken.requestShare(account.UserName(), account.Password(), items);
}
