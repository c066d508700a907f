#include "client/shell/views/sidebar/TXTabViewController.h"

#include "client/shell/sidebar/TXTabViewControllerDelegate.h"
#include "client/shell/views/frame/TXMainWindow.h"
#include "client/shell/views/sidebar/FrameButtons.h"
#include "desktop/kit/views/ClientArtwork.h"
#include "desktop/kit/views/TXGroundView.h"
#include "desktop/kit/views/TXTabView.h"

#include <QLineEdit>
#include <QPushButton>

#include <utility>

using namespace SidebarRules;

namespace {

// The pages lie to the right of the sidebar, their top beside its first row.
constexpr int kPageLeft = Sidebar::kLeft + Sidebar::kWidth + 4;
constexpr int kPageTop = Sidebar::kFirstRowTop - 2;

}  // namespace

TXTabViewController::TXTabViewController(TXTabViewControllerDelegate *delegate, Timings timings, QObject *parent)
    : QObject(parent)
    , mDelegate(delegate)
    , mSidebar(delegate, timings)
{
    connect(&mSidebar, &Sidebar::rowSelected, this, &TXTabViewController::rowSelected);
    connect(&mSidebar, &Sidebar::searchEntered, this, &TXTabViewController::search);
    connect(&mSidebar, &Sidebar::backupOrSyncSetViewChanged, this, &TXTabViewController::backupOrSyncSetViewChanged);
    connect(&mSidebar, &Sidebar::showBackupProgress, this, &TXTabViewController::showBackupProgress);
    connect(&mSidebar, &Sidebar::showRestoreProgress, this, &TXTabViewController::showRestoreProgress);
}

TXTabViewController::~TXTabViewController() = default;

void TXTabViewController::setControllers(TXMainWindow *window)
{
    mWindow = window;
    mainBGView = new TXGroundView;
    window->setContentView(mainBGView);

    mTabView = new TXTabView(mainBGView);
    for (int tab = 0; tab < kTabCount; ++tab)
        mTabView->addPage(new QWidget);
    const QStringList titles = {tr("Backup"), tr("Restore"), tr("Session logs"), tr("Search"), QString(), tr("Trash")};
    for (int tab = 0; tab < kTabCount; ++tab)
        mTabView->setPageTitle(tab, titles.at(tab));

    mSidebar.build(mainBGView);
    buildTitleStrip(window);
    connect(window, &TXMainWindow::resized, this, &TXTabViewController::layOut);
    layOut();
    displayBackupView();
}

void TXTabViewController::setPageView(Tab tab, QWidget *page) { mTabView->replacePage(int(tab), page); }

void TXTabViewController::showTab(Tab tab) { mTabView->setCurrentIndex(int(tab)); }

void TXTabViewController::buildTitleStrip(TXMainWindow *window)
{
    mLogoButton = FrameButtons::imageButton(QStringLiteral("portable_logo.png"), mainBGView);
    connect(mLogoButton, &QPushButton::clicked, this, &TXTabViewController::openProductPage);
    mLoginButton = new QPushButton(QStringLiteral("Login to your account "), window);
    mLoginButton->setCursor(Qt::PointingHandCursor);
    mLoginButton->setStyleSheet(
        QStringLiteral("QPushButton { color: white; font-weight: bold; border: 1px solid rgba(255,255,255,120);"
                       " border-radius: 11px; padding: 3px 14px; background: rgba(255,255,255,40); }"
                       "QPushButton:hover { background: rgba(255,255,255,80); }"));
    connect(mLoginButton, &QPushButton::clicked, this, &TXTabViewController::loginButtonClicked);
    // Placed from x 300 like the original, which keeps it to the right of the logo.
    window->addViewToTitleBar(mLoginButton, 300.0);
}

void TXTabViewController::layOut()
{
    if (!mWindow)
        return;
    const int width = mWindow->width();
    const int height = mWindow->height();
    mainBGView->setGeometry(0, 0, width, height);
    mLogoButton->setGeometry(12, 6, 200, 30);
    mTabView->setGeometry(kPageLeft, kPageTop, width - kPageLeft - Sidebar::kMargin,
                          height - kPageTop - Sidebar::kMargin - 4);
    mSidebar.layOut();
}

Tab TXTabViewController::selectedTab() const { return Tab(mTabView->currentIndex()); }

void TXTabViewController::rowSelected(int row)
{
    if (row >= kBackupRow && row <= kLogRow) {
        showTab(Tab(row));
        mainBGView->setItemSelected(row);
        if (row == kRestoreRow)
            emit reloadRemoteView();
    }
    mainBGView->update();
    if (row == kLogRow)
        emit reloadLogView();
    if (row == kBackupRow)
        setSearchInProgress(false);
    if (row == kRestoreRow && std::exchange(mDisplayRefreshGuide, false))
        emit displayRemoteRefreshGuide();
    if (row == kRestoreRow && std::exchange(mRegularGuideDisplay, false))
        emit displayRemoteGuide();
}

void TXTabViewController::displayRemoteView()
{
    searchField().setPlaceholderText(kSearchPlaceholder);
    mSidebar.selectRow(mLastSelectedIndex);
}

void TXTabViewController::search()
{
    if (mDelegate->isReIndexInProgress()) {
        emit reIndexAlertRequested(QStringLiteral("Unable to proceed as database re-indexing is underway."));
        return;
    }
    mLastSelectedIndex = mSidebar.selectedRow();
    if (searchField().text().isEmpty())
        return;
    const bool trash = searchField().placeholderText() == kTrashPlaceholder;
    displayRestoreView();
    trash ? displayTrashView() : displaySearchView();
}

void TXTabViewController::displaySearchView()
{
    displaySearchViewForMenu();
    emit displaySearchRequested(searchField().text(), QString());
}

void TXTabViewController::displayTrashView()
{
    searchField().setPlaceholderText(kTrashPlaceholder);
    mLastSelectedIndex = mSidebar.selectedRow();
    displayRestoreView();
    showTab(Tab::Trash);
    emit displayTrashRequested(searchField().text().isEmpty() ? QStringLiteral("*") : searchField().text(),
                               QStringLiteral("/"));
}

void TXTabViewController::displaySearchViewForMenu()
{
    mLastSelectedIndex = mSidebar.selectedRow();
    showTab(Tab::Search);
}

void TXTabViewController::displayTrashViewForMenu()
{
    searchField().setPlaceholderText(kTrashPlaceholder);
    mLastSelectedIndex = mSidebar.selectedRow();
    showTab(Tab::Trash);
}

void TXTabViewController::setLogoForMainScreen(bool mainScreen)
{
    const QPixmap logo =
        ClientArtwork::image(mainScreen ? QStringLiteral("portable_logo.png") : QStringLiteral("TXMiniLogo.png"));
    mLogoButton->setIcon(logo);
    mLogoButton->setIconSize(logo.deviceIndependentSize().toSize());
}
