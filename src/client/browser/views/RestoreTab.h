#pragma once

#include "client/browser/guides/RemoteGuideController.h"
#include "client/browser/operations/RemoteOperations.h"
#include "client/browser/restore/RestoreController.h"
#include "client/browser/tree/RemoteTreeController.h"
#include "client/browser/tree/RuvoFolderListing.h"
#include "client/browser/versions/RuvoVersionRestoreRunner.h"
#include "client/browser/versions/RuvoVersionSource.h"
#include "client/browser/versions/VersionBrowser.h"
#include "client/browser/views/MainControllerBrowserHost.h"
#include "client/browser/views/RestoreDialogs.h"
#include "client/browser/views/RestorePageVersionHost.h"

#include <memory>

class AlertPresenter;
class ClientShell;
class RemoteTreeModel;
class RestorePageView;

// The Restore tab as the program builds it, in one place for the program, its tests
// and its screenshots: the destination tree listed from the drive's index, the
// restore over the shell's main controller and sidebar, and the page handed to the
// tab view, with its first-use guides. Messages go to alerts and folders are chosen
// by chooser when given, else the shell's alert panel and dialogs; folders and
// pages open in workspace when given, else the desktop's. The tree's operations
// (its menu, delete, rename, folder size, share, search, re-index) go with it.
struct RestoreTab
{
    explicit RestoreTab(ClientShell &shell, AlertPresenter *alerts = nullptr, FolderChooser *chooser = nullptr,
                        RemoteGuideTimings guideTimings = {}, Workspace *workspace = nullptr,
                        RemoteOperations::Services operationServices = {});

    // The account, drive or mode changed: a new driver, the destination, the tree listed again.
    void reload();
    // The versions of a file of the tree (its path below the data root) in the version pane.
    void showVersionHistory(const QString &treePath);
    // What fills the browser's engine controllers with the signed-in account's fields.
    static std::function<void(TXEngineController &)> accountFields(ClientShell &shell);

    ClientShell &shell;
    DialogFolderChooser dialogs;
    DesktopWorkspace desktop;
    Workspace &workspace;
    MainControllerBrowserHost host;
    RuvoFolderListing listing;
    RemoteTreeController tree;
    RestoreController restore;
    RemoteGuideController guides;
    RemoteOperations operations;
    RemoteTreeModel *model;  // owned by the page
    RestorePageView *page;   // owned by the tab view once handed over
    RuvoVersionSource versionSource;
    RuvoVersionRestoreRunner versionRunner;
    std::unique_ptr<RestorePageVersionHost> versionPage;
    std::unique_ptr<VersionBrowser> versions;
};
