#include "client/browser/operations/RemoteOperations.h"

#include "client/browser/host/OperationsHost.h"
#include "client/browser/tree/RemoteTreeController.h"
#include "client/common/tree/TreeViewNode.h"
#include "common/account/User.h"

using RemoteMenuRules::Action;

RemoteOperations::RemoteOperations(OperationsHost &host, AlertPresenter &alerts, RemoteTreeController &tree,
                                   Workspace &workspace, Services services, QObject *parent)
    : QObject(parent)
    , mActivity(host, alerts)
    , mTree(tree)
    , mDelete(mActivity, tree, services.deleteTimings)
    , mRename(mActivity, tree)
    , mFolderSize(mActivity)
    , mShare(mActivity, &tree, workspace, services.tokenTimeout)
    , mReIndex(mActivity, tree, std::move(services.makeInitializer))
{}

bool RemoteOperations::isEnabled(Action action, const TreeViewNode *clicked)
{
    OperationsHost &host = mActivity.host();
    RemoteMenuRules::Context context;
    context.hasClickedRow = clicked && !clicked->isPlaceholder();
    context.isFolder = context.hasClickedRow && !clicked->isAFile();
    context.versionText = context.hasClickedRow ? clicked->getFileVersion() : QString();
    context.isRuvoUser = host.userObject().isRuvoUser();
    context.operationActive = host.isOperationActive() || host.isReIndexInProgress();
    return RemoteMenuRules::isEnabled(action, context);
}

bool RemoteOperations::trigger(Action action, const TreeViewNode *clicked)
{
    if (clicked && clicked->isPlaceholder())
        clicked = nullptr;
    switch (action) {
    case Action::Refresh:
        if (clicked && !clicked->isAFile())
            refreshFolder(*mTree.nodeForPath(clicked->fullPath()));
        else
            refresh();
        return true;
    case Action::FolderSize:
        mFolderSize.getFolderSize(clicked);
        return true;
    case Action::Versions:
        showVersionHistory(clicked);
        return true;
    case Action::Rename:
        return clicked && mRename.mayEdit();
    case Action::Delete:
        mDelete.delteFile(clicked);
        return true;
    case Action::Share:
        mShare.shareFileFromMenu(clicked);
        return true;
    case Action::SearchInFolder:
        searchFile(clicked);
        return true;
    case Action::ReIndex:
        mReIndex.reIndexDatabase();
        return true;
    }
    return false;
}

void RemoteOperations::refresh()
{
    if (mActivity.refusedWhileReIndexing())
        return;
    mActivity.host().setDisplayRefreshGuide(false);
    mTree.refresh();
}

void RemoteOperations::refreshFolder(TreeViewNode &folder)
{
    if (mActivity.refusedWhileReIndexing())
        return;
    mTree.refreshFolder(folder);
}

void RemoteOperations::searchFile(const TreeViewNode *clicked)
{
    if (mActivity.refusedWhileReIndexing() || !clicked || clicked->isAFile())
        return;
    mActivity.displayMessage(QString());
    mActivity.host().displaySearchView(clicked->fullPath());
}

void RemoteOperations::showVersionHistory(const TreeViewNode *clicked)
{
    if (mActivity.refusedWhileReIndexing() || !clicked || !clicked->isAFile())
        return;
    emit versionHistoryRequested(clicked->fullPath());
}
