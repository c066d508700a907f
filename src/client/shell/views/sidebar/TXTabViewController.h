#pragma once

#include "client/shell/sidebar/SidebarRules.h"
#include "client/shell/sidebar/Tab.h"
#include "client/shell/views/sidebar/Sidebar.h"

#include <QObject>
#include <QPointer>
#include <QString>

class QLineEdit;
class QPushButton;
class QWidget;
class TXGroundView;
class TXMainWindow;
class TXTabView;
class TXTabViewControllerDelegate;

// The main window's page switcher: it puts the frame together (the ground view, the
// sidebar, the tab view with a page for every Tab, the logo and the login button in
// the title strip) and shows the page of the sidebar's chosen row, or the Search and
// Trash pages for a search. The pages hear from it when to reload, to show their
// progress or a guide; the sidebar's own requests (quota, space used, upgrade, the
// desktop application, a mode switch) come from sidebar().
class TXTabViewController : public QObject
{
    Q_OBJECT
public:
    using Timings = Sidebar::Timings;

    explicit TXTabViewController(TXTabViewControllerDelegate *delegate, Timings timings = {},
                                 QObject *parent = nullptr);
    ~TXTabViewController() override;

    // Builds the frame into the window, every tab with an empty page.
    void setControllers(TXMainWindow *window);
    // Replaces the page of a tab; the tab view owns it from then on.
    void setPageView(Tab tab, QWidget *page);
    Sidebar *sidebar() { return &mSidebar; }

    // Sidebar rows and pages.
    void displayBackupView() { mSidebar.selectRow(SidebarRules::kBackupRow); }
    void displayRestoreView() { mSidebar.selectRow(SidebarRules::kRestoreRow); }
    void displayLogView() { mSidebar.selectRow(SidebarRules::kLogRow); }
    void displayRemoteView();
    void displaySearchView();
    void displayTrashView();
    void displaySearchViewForMenu();
    void displayTrashViewForMenu();
    Tab selectedTab() const;
    void search();

    void setSearchInProgress(bool running) { mIsSearchProgress = running; }
    void setTrashSearchInProgress(bool running) { mIsTrashSearchProgress = running; }
    bool isSearchInProgress() const { return mIsSearchProgress; }
    // Requests for the Restore page's guides at the next showing of the Restore tab.
    void setDisplayGuide(bool display) { mRegularGuideDisplay = display; }
    void setDisplayRefreshGuide(bool display) { mDisplayRefreshGuide = display; }

    void setLogoForMainScreen(bool mainScreen);
    QPushButton *logoButton() const { return mLogoButton; }
    QPushButton *loginButton() const { return mLoginButton; }
    TXGroundView *groundView() const { return mainBGView; }
    TXTabView *tabView() const { return mTabView; }

signals:
    // The Restore row was chosen (the Restore page reloads).
    void reloadRemoteView();
    // The Log row was chosen (the log viewer reloads its list).
    void reloadLogView();
    void displaySearchRequested(const QString &text, const QString &root);
    void displayTrashRequested(const QString &text, const QString &root);
    // The mode changed (the sidebar's switch, or the mode found at a login): the pages reload.
    void backupOrSyncSetViewChanged(bool backupMode);
    // A progress box of the sidebar was clicked: the page brings its progress pane forward.
    void showBackupProgress();
    void showRestoreProgress();
    // The Restore tab is shown with a guide requested (each request is answered once).
    void displayRemoteGuide();
    void displayRemoteRefreshGuide();
    // Shows the re-index alert; the main controller owns alerts.
    void reIndexAlertRequested(const QString &message);
    // The title strip: the login button, and the logo that opens the maker's product page.
    void loginButtonClicked();
    void openProductPage();

private:
    void buildTitleStrip(TXMainWindow *window);
    void layOut();
    void showTab(Tab tab);
    void rowSelected(int row);
    QLineEdit &searchField() const { return *mSidebar.mSearchField(); }

    TXTabViewControllerDelegate *mDelegate;
    Sidebar mSidebar;
    QPointer<TXMainWindow> mWindow;
    TXGroundView *mainBGView = nullptr;
    TXTabView *mTabView = nullptr;
    QPushButton *mLogoButton = nullptr;
    QPushButton *mLoginButton = nullptr;
    int mLastSelectedIndex = 0;
    bool mIsSearchProgress = false;
    bool mIsTrashSearchProgress = false;
    bool mRegularGuideDisplay = false;
    bool mDisplayRefreshGuide = false;
};
