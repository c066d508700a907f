#pragma once

#include "client/common/logs/SessionLogReport.h"

#include <QString>
#include <QVariantMap>

class User;

// What every page of the main window asks of the program around it: the account,
// the mode, the destination drive and computer folder, the operation flag, the day
// file of session logs, the log view, the upgrade page, the guide and the quota.
// The program implements it over the main controller and the sidebar; tests use fakes.
class PageHost
{
public:
    virtual ~PageHost() = default;

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
    virtual void sendSessionLogInformation(const SessionLogReport &report) = 0;
    virtual void displayLogView() = 0;
    virtual void upgrade() = 0;
    virtual void setDisplayRefreshGuide(bool shown) = 0;
    // Measures the quota and the space used on the drive again (after an operation).
    virtual void calQuota() = 0;
};
