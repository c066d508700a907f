#include "index/manager/IndexContext.h"

#include "common/account/QLApplicationDelegate.h"
#include "common/account/User.h"
#include "common/files/TXSupportFileManager.h"

IndexContext IndexContext::of(QLApplicationDelegate &mainController)
{
    IndexContext context;
    context.backupMode = mainController.isAppInBackupMode();
    const User &account = mainController.userObject();
    context.userName = context.backupMode ? account.UserName() : account.mSyncUserName();
    context.computerFolder = mainController.mpcName();
    context.backupPath = mainController.currentBackupPath();
    context.indexFolder = TXSupportFileManager::txFileManager().pathForApplicationFile(ApplicationFile::LDBFolder);
    return context;
}
