#include "client/shell/views/frame/MainWindowView.h"

#include "client/shell/views/frame/ClientWindows.h"
#include "client/shell/views/frame/TXMainWindow.h"
#include "client/shell/views/sidebar/TXTabViewController.h"

#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>

void MainWindowView::setEnableViews(bool enabled) { mWindows.tabViewController()->setControlsStatus(enabled); }

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

void MainWindowView::displayGuide(bool shown) { mWindows.tabViewController()->displayGuide(shown); }

void MainWindowView::displayBackupView() { mWindows.tabViewController()->displayBackupView(); }

void MainWindowView::setBackupMode(bool backupMode)
{
    mWindows.tabViewController()->setMBackupMode(backupMode);
    mWindows.tabViewController()->changeSwichImageForMode(backupMode);
}

void MainWindowView::setSwitchModeVisible(bool visible)
{
    if (visible)
        mWindows.tabViewController()->showSwitchMode();
    else
        mWindows.tabViewController()->hideSwitchMode();
}

void MainWindowView::setLoginMode(bool backupMode) { mWindows.tabViewController()->setTheLoginMode(backupMode); }

void MainWindowView::setQuotaPercentage(int percent) { mWindows.tabViewController()->setQuotaPercentage(percent); }

// The volume pop-up and the path labels come with the Backup and browser pages.
void MainWindowView::showDestination(const QString &) {}

void MainWindowView::refreshSpaceUsed() { mWindows.tabViewController()->viewWasClicked(); }

void MainWindowView::canHideBrowseButton(const QString &state) { emit mWindows.browseButtonStateChanged(state); }

void MainWindowView::openURL(const QUrl &url) { QDesktopServices::openUrl(url); }
