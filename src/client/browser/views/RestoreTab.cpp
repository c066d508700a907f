#include "client/browser/views/RestoreTab.h"

#include "client/browser/views/RemoteTreeModel.h"
#include "client/browser/views/RestorePageView.h"
#include "client/browser/views/VersionPaneView.h"
#include "client/shell/views/frame/ClientShell.h"
#include "client/shell/views/frame/ClientWindows.h"
#include "client/shell/views/frame/TXMainWindow.h"
#include "client/shell/views/sidebar/TXTabViewController.h"
#include "common/utility/QLUtility.h"
#include "session/manager/RuvoBackupManager.h"
#include "session/xattr/TXXattrBackupManager.h"

#include <QTreeView>

std::function<void(TXEngineController &)> RestoreTab::accountFields(ClientShell &shell)
{
    return [&shell](TXEngineController &controller) { shell.mainController().fillEngineController(controller); };
}

RestoreTab::RestoreTab(ClientShell &shell, AlertPresenter *alerts, FolderChooser *chooser,
                       RemoteGuideTimings guideTimings, Workspace *workspaceOverride,
                       RemoteOperations::Services operationServices)
    : shell(shell)
    , dialogs(shell.windows().mainWindow())
    , workspace(workspaceOverride ? *workspaceOverride : desktop)
    , host(shell.mainController(), shell.windows())
    , listing(accountFields(shell))
    , tree(listing, {&QLUtility::ShowHiddenFilesKey,
                     // Rows to restore from: the Restore guide may show at the tab's next showing.
                     [&shell] { shell.windows().tabViewController()->setDisplayGuide(true); },
                     {}})
    , restore(host, alerts ? *alerts : shell.windows().alerts(), chooser ? *chooser : dialogs, workspace, tree,
              {RuvoBackupManager::factory(),
               [](const QString &restored, const QString &stored) {
                   TXXattrBackupManager::SharedTXXattrBackupManager().resetXattributesForTimeMachine(restored, stored);
               }})
    , guides(guideTimings)
    , operations(host, alerts ? *alerts : shell.windows().alerts(), tree, workspace, std::move(operationServices))
    , model(nullptr)
    , page(nullptr)
    , versionSource(accountFields(shell))
    , versionRunner(shell.mainController().VersionRestoreController(), accountFields(shell))
{
    auto *pageModel = new RemoteTreeModel(tree, [this]() -> const User & { return host.userObject(); });
    page = new RestorePageView(restore, *pageModel);
    pageModel->setParent(page);
    model = pageModel;
    restore.setView(page, page->progressPane());
    guides.setView(page);
    page->attachOperations(operations, *pageModel);
    versionPage = std::make_unique<RestorePageVersionHost>(*page, restore);
    versions = std::make_unique<VersionBrowser>(VersionBrowser::Services{
        host, *versionPage, alerts ? *alerts : shell.windows().alerts(), workspace, versionSource, versionRunner});
    page->setVersionPane(new VersionPaneView(versions->versionViewController()));
    restore.setVersionBrowser(versions.get());
    QObject::connect(&operations, &RemoteOperations::versionHistoryRequested, page,
                     [this](const QString &treePath) { showVersionHistory(treePath); });

    TXMainController &mainController = shell.mainController();
    TXTabViewController &tabs = *shell.windows().tabViewController();
    QObject::connect(&mainController, &TXMainController::accountDidChange, page, [this] { reload(); });
    QObject::connect(&mainController, &TXMainController::destinationDidChange, page, [this] { reload(); });
    QObject::connect(&tabs, &TXTabViewController::backupOrSyncSetViewChanged, page, [this] { reload(); });
    QObject::connect(&tabs, &TXTabViewController::reloadRemoteView, page,
                     [this] { restore.setRestoreDestinationUI(); });
    QObject::connect(&tabs, &TXTabViewController::showRestoreProgress, page, [this] {
        // The pane shows on the page that started the restore.
        TXTabViewController &sidebar = *this->shell.windows().tabViewController();
        if (sidebar.isSearchInProgress())
            sidebar.displaySearchViewForMenu();
        else
            sidebar.displayRestoreView();
        restore.showProgressView();
    });
    QObject::connect(&mainController, &TXMainController::remoteGuideCalledOnce, page,
                     [this](bool calledOnce) { guides.setRemoteGuideCalledOnce(calledOnce); });
    QObject::connect(&tabs, &TXTabViewController::displayRemoteGuide, page, [this] { guides.displayGuide(true); });
    QObject::connect(&tabs, &TXTabViewController::displayRemoteRefreshGuide, page,
                     [this] { guides.displayRefreshGuide(true); });
    QObject::connect(&mainController, &TXMainController::stopAllOperations, page,
                     [this] { restore.stopAllOperations(); });
    QObject::connect(&mainController, &TXMainController::enableViewsChanged, page, [this](bool enabled) {
        page->setEnabled(enabled);
        if (!enabled)
            tree.clearWithMessage(QString());
    });
    QObject::connect(&shell.windows(), &ClientWindows::browseButtonStateChanged, page,
                     [this](const QString &state) { restore.canHideBrowseButton(state); });
    tabs.setPageView(Tab::Restore, page);
}

void RestoreTab::showVersionHistory(const QString &treePath) { versions->showVersionHistory(treePath); }

void RestoreTab::reload()
{
    // Sync mode keeps no versions: no "Version" column.
    page->treeView()->setColumnHidden(RemoteTreeModel::VersionColumn, !host.isAppInBackupMode());
    restore.setRestoreDestinationUI();
    restore.restoreInitialise();
    // Its versions lie on the drive and under the account that were.
    versions->closePane();
    if (restore.isRestoreRunning())
        return;
    if (restore.mRestoreManager()) {
        guides.hideRefreshGuide();
        tree.refresh();
    } else
        tree.clearWithMessage(RestoreController::kNoDataRootText);
}
