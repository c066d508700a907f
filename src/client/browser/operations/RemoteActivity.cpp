#include "client/browser/operations/RemoteActivity.h"

#include "client/browser/host/OperationsHost.h"
#include "client/browser/operations/RemoteActivityView.h"
#include "client/browser/tree/RemoteTreeRules.h"
#include "client/common/destination/BackupDestination.h"
#include "common/account/User.h"
#include "common/texts/QLLocalizedString.h"
#include "desktop/alerts/AlertPresenter.h"

#include <QFileInfo>

RemoteActivity::RemoteActivity(OperationsHost &host, AlertPresenter &alerts)
    : mHost(host)
    , mAlerts(alerts)
{}

bool RemoteActivity::refusedWhileReIndexing()
{
    if (!mHost.isReIndexInProgress())
        return false;
    inform(kReIndexText);
    return true;
}

void RemoteActivity::startAnimation(const QString &operationName)
{
    mHost.setOperationActive(true);
    if (mView) {
        mView->setOperationName(operationName);
        mView->setSpinnerRunning(true);
    }
}

void RemoteActivity::stopAnimation()
{
    mHost.setOperationActive(false);
    if (mView) {
        mView->setSpinnerRunning(false);
        mView->setOperationName(QString());
    }
}

void RemoteActivity::displayMessage(const QString &text)
{
    if (mView)
        mView->displayMessage(text);
}

void RemoteActivity::inform(const QString &text) { mAlerts.inform(QLLocalizedString(text)); }

bool RemoteActivity::confirm(const QString &question) { return mAlerts.confirm(QLLocalizedString(question)); }

QString RemoteActivity::volumePath() const
{
    const QString volume = BackupDestination::volumePath(mHost.currentDestinationDrive());
    return !volume.isEmpty() && QFileInfo(volume).isDir() ? volume : QString();
}

QString RemoteActivity::dataRoot() const
{
    const QString volume = volumePath();
    if (volume.isEmpty())
        return {};
    const QString root = RemoteTreeRules::dataRoot(volume, mHost.userObject(), mHost.isAppInBackupMode());
    return !root.isEmpty() && QFileInfo(root).isDir() ? root : QString();
}

QString RemoteActivity::executorPath() const
{
    return QLLocalizedString(
        BackupDestination::executorKey(mHost.isAppInBackupMode(), mHost.userObject().isRuvoUser()));
}

QString RemoteActivity::computerFolderOnDrive() const
{
    const QString volume = volumePath();
    const User &account = mHost.userObject();
    const bool backupMode = mHost.isAppInBackupMode();
    const QString accountFolder = BackupDestination::accountFolder(volume, account, backupMode);
    const QString destination = BackupDestination::destinationFolder(
        volume, account, BackupDestination::computerFolder(mHost.mpcName()), backupMode);
    return !accountFolder.isEmpty() && destination.startsWith(accountFolder) ? destination.mid(accountFolder.size())
                                                                             : QString();
}
