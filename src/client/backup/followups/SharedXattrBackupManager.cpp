#include "client/backup/followups/SharedXattrBackupManager.h"

#include "common/account/User.h"
#include "session/xattr/TXXattrBackupManager.h"

SharedXattrBackupManager::SharedXattrBackupManager(TXXattrBackupManager *manager)
    : mManager(manager)
{}

TXXattrBackupManager &SharedXattrBackupManager::manager() const
{
    return mManager ? *mManager : TXXattrBackupManager::SharedTXXattrBackupManager();
}

void SharedXattrBackupManager::setAccount(const User &account, const QString &executorPath)
{
    Backup::Account uploadAccount;
    uploadAccount.executorPath = executorPath;
    uploadAccount.userName = account.UserName();
    uploadAccount.password = account.mEncodedPassword();
    uploadAccount.portArgument = account.Port();
    uploadAccount.serverIP = account.RuvoServerIP();
    uploadAccount.isRuvoUser = account.isRuvoUser();
    // The key goes with every upload, as with the backup sessions' vectors.
    uploadAccount.isDefaultKey = false;
    uploadAccount.privateKey = account.mEncodedKey();
    manager().setAccount(uploadAccount);
}

void SharedXattrBackupManager::storeXattributesForTimeMachine(const QString &database, const QString &outputFolder)
{
    manager().storeXattributesForTimeMachine(database, outputFolder);
}

void SharedXattrBackupManager::backupFile(const QString &outputFolder, const QString &destinationRoot,
                                          const QString &relativePath)
{
    manager().backupFile(outputFolder, destinationRoot, relativePath);
}

bool SharedXattrBackupManager::isUploading() const { return manager().hasUploadsInProgress(); }
