#pragma once

#include "common/files/ApplicationFile.h"

#include <QMutex>
#include <QString>

// The one table of application files: turns a file's key into its concrete
// path, filling in the current account user name for per-user files.
// Shared by every thread; the names are read and replaced under a lock.
class TXSupportFileManager
{
public:
    // The running program's table (ProgramContext.h).
    static TXSupportFileManager &txFileManager();

    void setTarnixUserName(const QString &name);  // both the first-brand and the plain name
    void setUserName(const QString &name);        // the plain (second-brand) name only
    QString TarnixUserName() const;               // the current user name of this brand
    void setSyncUserName(const QString &name);
    QString syncUserName() const;
    // Stores the drive name; *isChanged tells whether it differed from the stored one.
    void setDestinationDrive(const QString &drive, bool *isChanged);
    QString destinationDrive() const;

    QString applicationName() const;
    bool isTarnixApplication() const;

    // The path of an application file, or "" when the number names none, its
    // key is missing from the table, or it is a per-user file while no user is set.
    QString pathForApplicationFile(int number) const;
    QString pathForApplicationFile(ApplicationFile file) const { return pathForApplicationFile(int(file)); }

    // The interactive backup progress file for one engine, built in one step so
    // that no character of the user name is ever read as a placeholder.
    QString interactiveBackupProgressFilePath(int engineNumber) const;

private:
    QString currentUserNameLocked() const;

    mutable QMutex mMutex;
    QString gTarnixUserName;
    QString guserName;
    QString gDestinationDrive;
    QString gSyncUserName;
};
