#pragma once

#include "client/backup/followups/XattrBackupManager.h"

class TXXattrBackupManager;

// The follow-up's way to the program's shared extended-attribute manager:
// the account is handed on as the backup sessions use it (encoded password
// and key).
class SharedXattrBackupManager : public XattrBackupManager
{
public:
    // manager: the program's shared one when none is given.
    explicit SharedXattrBackupManager(TXXattrBackupManager *manager = nullptr);

    void setAccount(const User &account, const QString &executorPath) override;
    void storeXattributesForTimeMachine(const QString &database, const QString &outputFolder) override;
    void backupFile(const QString &outputFolder, const QString &destinationRoot, const QString &relativePath) override;
    bool isUploading() const override;

private:
    TXXattrBackupManager &manager() const;

    TXXattrBackupManager *mManager;
};
