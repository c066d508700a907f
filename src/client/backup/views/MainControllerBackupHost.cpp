#include "client/backup/views/MainControllerBackupHost.h"

#include "client/shell/main/TXMainController.h"
#include "client/shell/views/sidebar/TXTabViewController.h"
#include "index/manager/TarnixDBManager.h"

MainControllerBackupHost::MainControllerBackupHost(TXMainController &mainController, TXTabViewController &tabs)
    : mMainController(mainController)
    , mTabs(tabs)
{}

bool MainControllerBackupHost::isReIndexInProgress() const { return mMainController.isReIndexInProgress(); }

QString MainControllerBackupHost::currentDestinationDrive() const { return mMainController.currentDestinationDrive(); }

QString MainControllerBackupHost::mpcName() const { return mMainController.mpcName(); }

bool MainControllerBackupHost::isAppInBackupMode() const { return mMainController.isAppInBackupMode(); }

const User &MainControllerBackupHost::userObject() { return mMainController.userObject(); }

QVariantMap MainControllerBackupHost::getPreferencesSettingForUser(const QString &userName) const
{
    return TXMainController::getPreferencesSettingForUser(userName);
}

void MainControllerBackupHost::setOperationActive(bool active) { mMainController.setOperationActive(active); }

void MainControllerBackupHost::sendSessionLogInformation(const SessionLogReport &report)
{
    mMainController.sendSessionLogInformation(report.operation, report.totalFileCount, report.syncFileCount,
                                              report.sessionLogFilePath, report.duration);
}

void MainControllerBackupHost::displayLogView() { mTabs.displayLogView(); }

void MainControllerBackupHost::upgrade() { mMainController.upgrade(); }

void MainControllerBackupHost::setBackupMiniProgressHidden(bool hidden)
{
    mTabs.sidebar()->setBackupMiniProgressHidden(hidden);
}

void MainControllerBackupHost::setBackupMiniPercentage(const QString &text)
{
    mTabs.sidebar()->setBackupMiniPercentage(text);
}

void MainControllerBackupHost::calQuota()
{
    mMainController.calQuota();
    mTabs.sidebar()->viewWasClicked();  // the sidebar's "Space used on your device"
}

void MainControllerBackupHost::addBackedUpFile(const BackedUpFile &file)
{
    if (TarnixDBManager *index = mMainController.dbManager())
        index->addBackedUpFile(file);
}

std::optional<QStringList> MainControllerBackupHost::getAllEntriesFromMainDBWithPathLike(const QString &indexPath)
{
    TarnixDBManager *index = mMainController.dbManager();
    return index ? index->getAllEntriesFromMainDBWithPathLike(indexPath) : std::nullopt;
}

void MainControllerBackupHost::addFileToDelete(const QString &indexPath)
{
    if (TarnixDBManager *index = mMainController.dbManager())
        index->addFileToDelete(indexPath);
}

void MainControllerBackupHost::setDisplayRefreshGuide(bool shown) { mTabs.setDisplayRefreshGuide(shown); }
