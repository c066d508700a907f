#pragma once

#include "client/browser/operations/DeleteOperation.h"
#include "client/browser/operations/FolderSizeOperation.h"
#include "client/browser/operations/RemoteActivity.h"
#include "client/browser/operations/RemoteMenuRules.h"
#include "client/browser/operations/RenameOperation.h"
#include "client/browser/operations/ShareOperation.h"
#include "client/browser/reindex/ReIndexOperation.h"

#include <QObject>

class Workspace;

// What the operations are given by the program, and tests' shorter waits.
struct RemoteOperationsServices
{
    DeleteTimings deleteTimings;
    ReIndexOperation::Factory makeInitializer;
    std::chrono::milliseconds tokenTimeout = WebPageToken::kRequestTimeout;
};

// The operations of the destination tree's menu and buttons, each behind the
// re-index gate where it touches the index: refresh, folder size, versions,
// rename, delete, share, search in a folder and re-index.
class RemoteOperations : public QObject
{
    Q_OBJECT

public:
    using Services = RemoteOperationsServices;

    RemoteOperations(OperationsHost &host, AlertPresenter &alerts, RemoteTreeController &tree, Workspace &workspace,
                     Services services = {}, QObject *parent = nullptr);

    void setView(RemoteActivityView *view) { mActivity.setView(view); }

    // Whether a menu entry is enabled for the clicked item (none: the menu was opened off the rows).
    bool isEnabled(RemoteMenuRules::Action action, const TreeViewNode *clicked);
    // Runs a menu entry for the clicked item. Rename only asks whether editing may begin.
    bool trigger(RemoteMenuRules::Action action, const TreeViewNode *clicked);

    // The whole tree, or one opened folder, listed again.
    void refresh();
    void refreshFolder(TreeViewNode &folder);
    void searchFile(const TreeViewNode *clicked);
    void showVersionHistory(const TreeViewNode *clicked);

    DeleteOperation &deletion() { return mDelete; }
    RenameOperation &rename() { return mRename; }
    FolderSizeOperation &folderSize() { return mFolderSize; }
    ShareOperation &share() { return mShare; }
    ReIndexOperation &reIndex() { return mReIndex; }

signals:
    // The version pane is to show the versions of the stored file (its tree path).
    void versionHistoryRequested(const QString &path);

private:
    RemoteActivity mActivity;
    RemoteTreeController &mTree;
    DeleteOperation mDelete;
    RenameOperation mRename;
    FolderSizeOperation mFolderSize;
    ShareOperation mShare;
    ReIndexOperation mReIndex;
};
