#include "client/browser/views/RestoreTab.h"

#include "client/browser/views/RemoteTreeModel.h"
#include "client/browser/views/RestorePageView.h"
#include "client/shell/views/frame/ClientShell.h"
#include "client/shell/views/frame/ClientWindows.h"
#include "client/shell/views/frame/TXMainWindow.h"
#include "client/shell/views/sidebar/TXTabViewController.h"
#include "common/utility/QLUtility.h"
#include "session/manager/RuvoBackupManager.h"
#include "session/xattr/TXXattrBackupManager.h"

#include <QTreeView>

RestoreTab::RestoreTab(ClientShell &shell, AlertPresenter *alerts, FolderChooser *chooser,
                       RemoteGuideTimings guideTimings, Workspace *workspaceOverride,
                       RemoteOperations::Services operationServices)
    : shell(shell)
    , dialogs(shell.windows().mainWindow())
    , workspace(workspaceOverride ? *workspaceOverride : desktop)
    , host(shell.mainController(), shell.windows())
    , listing([&shell](TXEngineController &controller) { shell.mainController().fillEngineController(controller); })
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
{
    auto *pageModel = new RemoteTreeModel(tree, [this]() -> const User & { return host.userObject(); });
    page = new RestorePageView(restore, *pageModel);
    pageModel->setParent(page);
    model = pageModel;
    restore.setView(page);
    guides.setView(page);
    page->attachOperations(operations, *pageModel);

    TXMainController &mainController = shell.mainController();
    TXTabViewController &tabs = *shell.windows().tabViewController();
    QObject::connect(&mainController, &TXMainController::accountDidChange, page, [this] { reload(); });
    QObject::connect(&mainController, &TXMainController::destinationDidChange, page, [this] { reload(); });
    QObject::connect(&tabs, &TXTabViewController::backupOrSyncSetViewChanged, page, [this] { reload(); });
    QObject::connect(&tabs, &TXTabViewController::reloadRemoteView, page,
                     [this] { restore.setRestoreDestinationUI(); });
    QObject::connect(&tabs, &TXTabViewController::showRestoreProgress, page, [this] {
        this->shell.windows().tabViewController()->displayRestoreView();
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

void RestoreTab::reload()
{
    // Sync mode keeps no versions: no "Version" column.
    page->treeView()->setColumnHidden(RemoteTreeModel::VersionColumn, !host.isAppInBackupMode());
    restore.setRestoreDestinationUI();
    restore.restoreInitialise();
    if (restore.isRestoreRunning())
        return;
    if (restore.mRestoreManager()) {
        guides.hideRefreshGuide();
        tree.refresh();
    } else
        tree.clearWithMessage(RestoreController::kNoDataRootText);
}
