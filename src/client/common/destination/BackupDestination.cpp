#include "client/common/destination/BackupDestination.h"

#include "common/account/User.h"
#include "common/login/UserFiles.h"
#include "common/texts/Brand.h"
#include "common/utility/QLUtility.h"
#include "platform/PathRoots.h"
#include "platform/PathStandardizer.h"

#include <QFileInfo>

namespace {

// The first brand's sync mode keeps its data in the sync user's folder, without computer folders.
bool isTarnixSync(bool backupMode) { return Brand::isTarnix() && !backupMode; }

}  // namespace

namespace BackupDestination {

QString volumePath(const QString &volumeName)
{
    return volumeName.isEmpty() ? QString() : PathRoots::volumesRoot() + '/' + volumeName;
}

bool isWritableDestination(const QString &destinationFolder)
{
    QFileInfo folder(destinationFolder);
    while (!folder.exists() && !folder.isRoot())
        folder.setFile(folder.absolutePath());
    return QLUtility::isWritableFileAtPath(folder.absoluteFilePath());
}

QString computerFolder(const QString &mpcName)
{
    return mpcName.isEmpty() ? QLatin1Char('/') + QLUtility::machineName() : mpcName;
}

QString accountFolder(const QString &volumePath, const User &account, bool backupMode)
{
    const QString user = isTarnixSync(backupMode) ? account.mSyncUserName() : account.UserName();
    if (volumePath.isEmpty() || user.isEmpty())
        return {};
    return PathStandardizer::standardizePath(
        volumePath + '/' + Brand::pick(QStringLiteral("TarnixVidezud"), QStringLiteral("QuellonVidezud")) + '/' + user);
}

QString destinationFolder(const QString &volumePath, const User &account, const QString &computerFolder,
                          bool backupMode)
{
    const QString root = accountFolder(volumePath, account, backupMode);
    if (isTarnixSync(backupMode))
        return root;
    if (root.isEmpty() || computerFolder.size() < 2)
        return {};
    return PathStandardizer::standardizePath(root + '/' + computerFolder);
}

QString executorKey(bool backupMode, bool isRuvoUser)
{
    if (!backupMode)
        return QStringLiteral("SyncExecuterPathRuvo");
    return isRuvoUser ? QStringLiteral("ExecuterPathRuvo") : QStringLiteral("ExecuterPath");
}

QString timeMachineListPath(const QString &userName, bool backupMode)
{
    const QString key =
        backupMode ? QStringLiteral("TimeMachineBackupReferencePath") : QStringLiteral("TimeMachineSyncReferencePath");
    return UserFiles::path(key, userName);
}

QString disconnectMarkerPath(const QString &userName)
{
    return UserFiles::path(QStringLiteral("DisconnectMarkerPath"), userName);
}

}  // namespace BackupDestination
