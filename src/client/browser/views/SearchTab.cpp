#include "client/browser/views/SearchTab.h"

#include "client/browser/views/RestoreTab.h"
#include "client/browser/views/SearchPageView.h"
#include "client/browser/views/SearchTableModel.h"
#include "client/browser/views/VersionPaneView.h"
#include "client/common/views/ProgressPaneView.h"
#include "client/shell/login/AccountHosts.h"
#include "client/shell/views/frame/ClientShell.h"
#include "client/shell/views/frame/ClientWindows.h"
#include "client/shell/views/sidebar/TXTabViewController.h"

#include <QLineEdit>
#include <QPushButton>

SearchTab::SearchTab(ClientShell &shell, RestoreTab &restoreTab, AlertPresenter *alerts)
    : shell(shell)
    , restoreTab(restoreTab)
    , alerts(alerts ? *alerts : shell.windows().alerts())
    , keySearch(RestoreTab::accountFields(shell))
    , controller(restoreTab.host, keySearch)
    , restore(controller.results(), restoreTab.restore)
    , operations(restoreTab.host, this->alerts, controller.results(), restoreTab.workspace)
    , model(nullptr)
    , page(nullptr)
{
    RestoreController &restoreController = restoreTab.restore;
    auto *tableModel = new SearchTableModel(controller);
    page = new SearchPageView(controller, restoreController.progressViewController(), *tableModel);
    tableModel->setParent(page);
    model = tableModel;
    controller.setView(page);
    operations.setView(page);
    // The page's pane took the progress over when it was made; each restore hands it to the page that starts it.
    restoreController.setSearchView(page, page->progressPane());
    page->showRestoreDestination(restoreController.restoreDestination());

    versionPage = std::make_unique<RestorePageVersionHost>(*page, restoreController, RestoreController::Page::Search);
    versions = std::make_unique<VersionBrowser>(VersionBrowser::Services{restoreTab.host, *versionPage, this->alerts,
                                                                         restoreTab.workspace, restoreTab.versionSource,
                                                                         restoreTab.versionRunner});
    page->setVersionPane(new VersionPaneView(versions->versionViewController()));
    restoreController.setVersionBrowser(versions.get(), RestoreController::Page::Search);

    QObject::connect(page->restoreButton(), &QPushButton::clicked, page, [this] { restore.DownloadButton(); });
    QObject::connect(page->destinationButton(), &QPushButton::clicked, page,
                     [this] { this->restoreTab.restore.openPanel(); });
    QObject::connect(page->deleteButton(), &QPushButton::clicked, page, [this] { operations.deleteButton(); });
    QObject::connect(page->shareButton(), &QPushButton::clicked, page, [this] { operations.shareButton(); });
    QObject::connect(page->backButton(), &QPushButton::clicked, page, [this] { controller.DisplayRemoteView(); });
    QObject::connect(page->helpButton(), &QPushButton::clicked, page, [this] {
        this->restoreTab.workspace.openURL(
            AccountHosts::page(AccountHosts::brandWebSite(), QStringLiteral("/help/Mac/search.htm")));
    });
    QObject::connect(page, &SearchPageView::menuItemTriggered, page, [this](SearchController::MenuItem item, int row) {
        if (!controller.results().contains(row))
            return;
        switch (item) {
        case SearchController::MenuItem::Restore:
            restore.DownloadFileMenu(row);
            break;
        case SearchController::MenuItem::Versions: {
            const FileSystemNode &file = controller.results().at(row);
            versions->showVersionHistory(StoredFileIdentity{file.path, file.folderID, file.encFileName, file.mpcName});
            break;
        }
        case SearchController::MenuItem::Delete:
            operations.DeleteFileMenu(row);
            break;
        case SearchController::MenuItem::Share:
            operations.ShareFileMenu(row);
            break;
        }
    });
    // A new search closes the version pane.
    QObject::connect(&controller, &SearchController::searchWillStart, page, [this] {
        if (versionPage->isVersionViewShown())
            versionPage->removeVersionView();
    });

    TXMainController &mainController = shell.mainController();
    TXTabViewController &tabs = *shell.windows().tabViewController();
    QObject::connect(&mainController, &TXMainController::searchViewRequested, page,
                     [this](const QString &key, const QString &root) {
                         this->shell.windows().tabViewController()->displaySearchViewForMenu();
                         this->restoreTab.restore.canHideBrowseButton();
                         controller.searchforPath(key, root);
                     });
    QObject::connect(&controller, &SearchController::remoteViewRequested, page, [this] {
        TXTabViewController &pages = *this->shell.windows().tabViewController();
        pages.displayRestoreView();
        pages.sidebar()->mSearchField()->clear();
    });
    QObject::connect(&mainController, &TXMainController::enableViewsChanged, page, [this](bool enabled) {
        page->setEnabled(enabled);
        if (!enabled)
            controller.clearResults();
    });
    QObject::connect(&mainController, &TXMainController::accountDidChange, page, [this] { controller.clearResults(); });
    tabs.setPageView(Tab::Search, page);
}

SearchTab::~SearchTab()
{
    restoreTab.restore.setSearchView(nullptr, nullptr);
    restoreTab.restore.setVersionBrowser(nullptr, RestoreController::Page::Search);
    controller.results().setObserver(nullptr);
}
