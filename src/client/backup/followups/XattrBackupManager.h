#pragma once

#include <QString>

class User;

// The extended-attribute component of the session layer, as the Backup tab's
// follow-up uses it: saves a Time Machine database's folder attributes into a
// list folder and uploads that folder beside the database on the drive.
class XattrBackupManager
{
public:
    virtual ~XattrBackupManager() = default;

    // The account fields and the engine executable of the uploads.
    virtual void setAccount(const User &account, const QString &executorPath) = 0;
    virtual void storeXattributesForTimeMachine(const QString &database, const QString &outputFolder) = 0;
    virtual void backupFile(const QString &outputFolder, const QString &destinationRoot,
                            const QString &relativePath) = 0;
    // Whether an upload started earlier may still read its list folder.
    virtual bool isUploading() const = 0;
};
