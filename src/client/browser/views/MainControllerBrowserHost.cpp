#include "client/browser/views/MainControllerBrowserHost.h"

#include "client/shell/main/TXMainController.h"
#include "client/shell/views/frame/ClientWindows.h"
#include "client/shell/views/sidebar/Sidebar.h"
#include "client/shell/views/sidebar/TXTabViewController.h"
#include "engine/controllers/RuvoVersionRestoreController.h"
#include "index/manager/TarnixDBManager.h"

#include <QLineEdit>

MainControllerBrowserHost::MainControllerBrowserHost(TXMainController &mainController, ClientWindows &windows)
    : mMainController(mainController)
    , mWindows(windows)
{}

bool MainControllerBrowserHost::isReIndexInProgress() const { return mMainController.isReIndexInProgress(); }

QString MainControllerBrowserHost::currentDestinationDrive() const { return mMainController.currentDestinationDrive(); }

QString MainControllerBrowserHost::mpcName() const { return mMainController.mpcName(); }

bool MainControllerBrowserHost::isAppInBackupMode() const { return mMainController.isAppInBackupMode(); }

const User &MainControllerBrowserHost::userObject() { return mMainController.userObject(); }

QVariantMap MainControllerBrowserHost::getPreferencesSettingForUser(const QString &userName) const
{
    return TXMainController::getPreferencesSettingForUser(userName);
}

void MainControllerBrowserHost::setOperationActive(bool active) { mMainController.setOperationActive(active); }

void MainControllerBrowserHost::sendSessionLogInformation(const SessionLogReport &report)
{
    mMainController.sendSessionLogInformation(report.operation, report.totalFileCount, report.syncFileCount,
                                              report.sessionLogFilePath, report.duration);
}

void MainControllerBrowserHost::displayLogView() { mWindows.tabViewController()->displayLogView(); }

void MainControllerBrowserHost::upgrade() { mMainController.upgrade(); }

void MainControllerBrowserHost::calQuota() { mMainController.calQuota(); }

void MainControllerBrowserHost::setUserAndProxyToObject(TXEngineController &controller)
{
    mMainController.fillEngineController(controller);
}

void MainControllerBrowserHost::setRestoreMiniProgressHidden(bool hidden)
{
    mWindows.sidebar()->setRestoreMiniProgressHidden(hidden);
}

void MainControllerBrowserHost::setRestoreMiniPercentage(const QString &text)
{
    mWindows.sidebar()->setRestoreMiniPercentage(text);
}

void MainControllerBrowserHost::setSearchInProgress(bool running)
{
    mWindows.tabViewController()->setSearchInProgress(running);
    mWindows.tabViewController()->setTrashSearchInProgress(running);
    mWindows.setSearchRunning(running);
}

void MainControllerBrowserHost::setRestoreRunning(bool running) { mWindows.setRestoreRunning(running); }

bool MainControllerBrowserHost::isVersionRestoreRunning() const
{
    return mMainController.VersionRestoreController().isRestoring();
}

void MainControllerBrowserHost::cancelVersionRestore() { mMainController.VersionRestoreController().cancelRestore(); }

void MainControllerBrowserHost::setDisplayRefreshGuide(bool shown)
{
    mWindows.tabViewController()->setDisplayRefreshGuide(shown);
}

bool MainControllerBrowserHost::isOperationActive() const { return mMainController.isOperationActive(); }

void MainControllerBrowserHost::setReIndexInProgress(bool inProgress)
{
    mMainController.setReIndexInProgress(inProgress);
}

RuvoDeleteController &MainControllerBrowserHost::deleteController() { return *mMainController.deleteController(); }

void MainControllerBrowserHost::addFileToDelete(const QString &indexPath)
{
    if (TarnixDBManager *index = mMainController.dbManager())
        index->addFileToDelete(indexPath);
}

void MainControllerBrowserHost::displaySearchView(const QString &key)
{
    TXTabViewController &tabs = *mWindows.tabViewController();
    tabs.sidebar()->mSearchField()->setText(key);
    tabs.displaySearchViewForMenu();
    emit tabs.displaySearchRequested(key, QString());
}
