#include "client/backup/now/BackupDestination.h"

#include "client/shell/UserFiles.h"
#include "common/account/User.h"
#include "common/texts/Brand.h"
#include "common/utility/QLUtility.h"
#include "platform/PathRoots.h"
#include "platform/PathStandardizer.h"

namespace BackupDestination {

QString volumePath(const QString &volumeName)
{
    return volumeName.isEmpty() ? QString() : PathRoots::volumesRoot() + '/' + volumeName;
}

QString computerFolder(const QString &mpcName)
{
    return mpcName.isEmpty() ? QLatin1Char('/') + QLUtility::machineName() : mpcName;
}

QString destinationFolder(const QString &volumePath, const User &account, const QString &computerFolder,
                          bool backupMode)
{
    const bool tarnixSync = Brand::isTarnix() && !backupMode;
    const QString user = tarnixSync ? account.mSyncUserName() : account.UserName();
    if (volumePath.isEmpty() || user.isEmpty() || (!tarnixSync && computerFolder.size() < 2))
        return {};
    const QString root = volumePath + '/' + Brand::pick(QStringLiteral("TarnixVidezud"), QStringLiteral("QuellonVidezud"))
                         + '/' + user;
    return PathStandardizer::standardizePath(tarnixSync ? root : root + '/' + computerFolder);
}

QString executorKey(bool backupMode, bool isRuvoUser)
{
    if (!backupMode)
        return QStringLiteral("SyncExecuterPathRuvo");
    return isRuvoUser ? QStringLiteral("ExecuterPathRuvo") : QStringLiteral("ExecuterPath");
}

QString timeMachineListPath(const QString &userName, bool backupMode)
{
    const QString key = backupMode ? QStringLiteral("TimeMachineBackupReferencePath")
                                   : QStringLiteral("TimeMachineSyncReferencePath");
    return UserFiles::path(key, userName);
}

QString disconnectMarkerPath(const QString &userName)
{
    return UserFiles::path(QStringLiteral("DisconnectMarkerPath"), userName);
}

}  // namespace BackupDestination
