#include "client/shell/views/frame/MainWindowView.h"

#include "client/shell/views/frame/ClientWindows.h"
#include "client/shell/views/frame/TXMainWindow.h"
#include "client/shell/views/sidebar/Sidebar.h"
#include "client/shell/views/sidebar/TXTabViewController.h"

#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>

void MainWindowView::setEnableViews(bool enabled) { mWindows.sidebar()->setControlsStatus(enabled); }

void MainWindowView::setLoginButtonTitle(const QString &title)
{
    mWindows.tabViewController()->loginButton()->setText(title);
}

void MainWindowView::setWindowTitle(const QString &title)
{
    // The title strip shows the product's name; an empty title keeps it.
    if (!title.isEmpty())
        mWindows.mainWindow()->setWindowTitle(title);
}

void MainWindowView::displayGuide(bool shown) { mWindows.sidebar()->displayGuide(shown); }

void MainWindowView::displayBackupView() { mWindows.tabViewController()->displayBackupView(); }

void MainWindowView::setBackupMode(bool backupMode)
{
    mWindows.sidebar()->setMBackupMode(backupMode);
    mWindows.sidebar()->changeSwichImageForMode(backupMode);
}

void MainWindowView::setSwitchModeVisible(bool visible)
{
    if (visible)
        mWindows.sidebar()->showSwitchMode();
    else
        mWindows.sidebar()->hideSwitchMode();
}

void MainWindowView::setLoginMode(bool backupMode) { mWindows.sidebar()->setTheLoginMode(backupMode); }

void MainWindowView::setQuotaPercentage(int percent) { mWindows.sidebar()->setQuotaPercentage(percent); }

void MainWindowView::showDestination(const QString &volumePath) { mWindows.showDestination(volumePath); }

void MainWindowView::refreshSpaceUsed() { mWindows.sidebar()->viewWasClicked(); }

void MainWindowView::canHideBrowseButton(const QString &state) { emit mWindows.browseButtonStateChanged(state); }

void MainWindowView::openURL(const QUrl &url) { QDesktopServices::openUrl(url); }
