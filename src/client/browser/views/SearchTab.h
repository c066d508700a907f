#pragma once

#include "client/browser/search/RuvoKeySearch.h"
#include "client/browser/search/SearchController.h"
#include "client/browser/search/SearchOperations.h"
#include "client/browser/search/SearchRestore.h"
#include "client/browser/versions/VersionBrowser.h"
#include "client/browser/views/RestorePageVersionHost.h"

#include <memory>

class AlertPresenter;
class ClientShell;
class SearchPageView;
class SearchTableModel;
struct RestoreTab;

// The Search tab as the program builds it, for the program, its tests and its
// screenshots: the key search of the drive's index started from the sidebar's
// search field through the main controller, the results page handed to the tab
// view, and the restore, delete, share link and version pane of the results,
// which share the Restore tab's flows. Messages go to alerts when given, else the
// shell's panel.
struct SearchTab
{
    SearchTab(ClientShell &shell, RestoreTab &restoreTab, AlertPresenter *alerts = nullptr);
    ~SearchTab();

    ClientShell &shell;
    RestoreTab &restoreTab;
    AlertPresenter &alerts;
    RuvoKeySearch keySearch;
    SearchController controller;
    SearchRestore restore;
    SearchOperations operations;
    SearchTableModel *model;  // owned by the page
    SearchPageView *page;     // owned by the tab view once handed over
    std::unique_ptr<RestorePageVersionHost> versionPage;
    std::unique_ptr<VersionBrowser> versions;
};
