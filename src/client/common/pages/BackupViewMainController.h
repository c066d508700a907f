#pragma once

#include "client/common/logs/SessionLogReport.h"

#include <QString>
#include <QVariantMap>

class BackedUpFileQueue;
class User;

// What the Backup tab asks of the main controller and its sidebar: the account,
// the mode, the destination drive and computer folder, the operation flag, the
// day file of session logs, the log view, the upgrade page, the mini progress
// and the quota. The main controller implements it; tests use a fake.
class BackupViewMainController
{
public:
    virtual ~BackupViewMainController() = default;

    virtual bool isReIndexInProgress() const = 0;
    // The destination volume's name; "" when none is chosen.
    virtual QString currentDestinationDrive() const = 0;
    // "/" and this computer's folder name; null when there is none.
    virtual QString mpcName() const = 0;
    virtual bool isAppInBackupMode() const = 0;
    virtual const User &userObject() = 0;
    // The monitor's preferences of a user ("EnableVersion", "MultipleMacState", ...).
    virtual QVariantMap getPreferencesSettingForUser(const QString &userName) const = 0;
    virtual void setOperationActive(bool active) = 0;
    // Where the session records each stored file for the drive's index; null: nowhere.
    virtual BackedUpFileQueue *backedUpFileQueue() = 0;
    virtual void sendSessionLogInformation(const SessionLogReport &report) = 0;
    virtual void displayLogView() = 0;
    virtual void upgrade() = 0;

    // The sidebar.
    virtual void setBackupMiniProgressHidden(bool hidden) = 0;
    virtual void setBackupMiniPercentage(const QString &text) = 0;
    virtual void setDisplayRefreshGuide(bool shown) = 0;
    // Measures the quota and the space used on the drive again (after a backup or a cleanup).
    virtual void calQuota() = 0;
};
