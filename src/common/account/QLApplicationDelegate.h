#pragma once

#include <QString>

#include <optional>

class User;

// What the lower layers ask of the client's main controller. The main
// controller implements it and installs itself at start-up; tests install fakes.
class QLApplicationDelegate
{
public:
    virtual ~QLApplicationDelegate() = default;

    // The signed-in account record, owned for the life of the application.
    virtual User &userObject() = 0;
    // Backup mode (true) or sync mode (false) of the running client.
    virtual bool isAppInBackupMode() const = 0;
    // "/" and this computer's folder name in multiple-computer backups; null when none is set.
    virtual QString mpcName() const = 0;
    // The data root of the account on the destination drive.
    virtual QString currentBackupPath() const = 0;
    // Appends one record for a finished run to the day's session-log file.
    virtual void sendSessionLogInformation(const QString &operation, int totalFileCount, int syncFileCount,
                                           const QString &sessionLogFilePath, const QString &duration) = 0;

    // The second-brand (mapped) and first-brand (actual) names of the account,
    // when the delegate answers them; background-job trace lines map one to the other.
    virtual std::optional<QString> currentquellonUserName() const { return std::nullopt; }
    virtual std::optional<QString> currenttarnixUserName() const { return std::nullopt; }

    // The main controller of the running program (its context), or null.
    static QLApplicationDelegate *current();
    static void setCurrent(QLApplicationDelegate *delegate);
};
