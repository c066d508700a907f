#include "engine/controllers/IndexUserName.h"

#include "common/account/User.h"
#include "common/files/TXSupportFileManager.h"
#include "common/utility/QLUtility.h"

namespace IndexUserName {

QString forAccount(User &account)
{
    const QString userName = account.UserName();
    if (QLUtility::isAppInBackupMode(userName))
        return userName;
    const QString syncUser = QLUtility::getSyncUserName(userName);
    if (!syncUser.isEmpty()) {
        account.setMSyncUserName(syncUser);
        TXSupportFileManager::txFileManager().setSyncUserName(syncUser);
    }
    return account.mSyncUserName();
}

}  // namespace IndexUserName
