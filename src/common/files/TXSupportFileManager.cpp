#include "common/files/TXSupportFileManager.h"

#include "common/context/ProgramContext.h"

#include "common/texts/Brand.h"
#include "common/texts/QLLocalizedString.h"
#include "common/utility/QLUtility.h"
#include "platform/PathStandardizer.h"
#include "platform/PathTemplate.h"

#include <QtDebug>

#include <array>

namespace {

// How the looked-up value of a row becomes a path.
enum class Form
{
    Plain,         // the value as it is
    Standardized,  // the value standardized as a path
    User,          // the value filled with the current user name
    UserStandardized,
    ProgressFile,  // user name and a literal "%d" for a later engine number, standardized
    IndexFolder,   // drive and user, or drive and sync user in sync mode
    IndexDetails,  // the current user in both modes, under a key that depends on the mode
};

// One row per application file, keyed by its enum; the Localizable key is the enum's name.
struct Row
{
    ApplicationFile file;
    const char *key;
    Form form;
};

#define TX_FILE(name, form)                                                                                            \
    Row { ApplicationFile::name, #name, Form::form }

constexpr std::array kTable = {
    TX_FILE(ApplicationRootFolderPath, Plain),
    TX_FILE(ApplicationUserFolderPath, Standardized),
    TX_FILE(DeamonPreferencePath, Plain),
    TX_FILE(ShortcutPreferencePath, Standardized),
    TX_FILE(ShortcutPath, Standardized),
    TX_FILE(SourceAFilePath, UserStandardized),
    TX_FILE(SourceBFilePath, UserStandardized),
    TX_FILE(Engine1ErrorPath, UserStandardized),
    TX_FILE(Engine2ErrorPath, UserStandardized),
    TX_FILE(NodeChecklistPath, User),
    TX_FILE(BackupsetPath, User),
    TX_FILE(TempBackupSetPath, User),
    TX_FILE(TempSyncsetPath, User),
    TX_FILE(ApplicationStatusPath, Plain),
    TX_FILE(MultiplePCStateFilePath, Plain),
    TX_FILE(InteractiveTraceFilePath, Plain),
    TX_FILE(MonitorTraceFilePath, Plain),
    TX_FILE(DaemonTraceFilePath, Plain),
    TX_FILE(InteractiveSessionLog, Plain),
    TX_FILE(ScheduledBackupLog, Plain),
    TX_FILE(UserDetailsPath, User),
    TX_FILE(LoginDetailsFilePath, UserStandardized),
    TX_FILE(LogsFolderPath, Plain),
    TX_FILE(SessionLogsFolderPath, Plain),
    TX_FILE(InteractiveBackupFolderPath, UserStandardized),
    TX_FILE(InteractiveBackupProgressFilePath, ProgressFile),
    TX_FILE(InteractiveBackupRequestListA, UserStandardized),
    TX_FILE(InteractiveBackupRequestListB, UserStandardized),
    TX_FILE(InteractiveBackupRequestIncrementListA, UserStandardized),
    TX_FILE(InteractiveBackupRequestIncrementListB, UserStandardized),
    TX_FILE(InteractiveBackupRequestSizeA, UserStandardized),
    TX_FILE(InteractiveBackupRequestSizeB, UserStandardized),
    TX_FILE(LoginCheckilePath, UserStandardized),
    TX_FILE(LastUserLoginDetailsFilePath, Standardized),
    TX_FILE(UserFolder, UserStandardized),
    TX_FILE(RootUserFolder, User),
    TX_FILE(LoginInfo, Standardized),
    TX_FILE(STunnelRelativePath, Plain),
    TX_FILE(STunnelPath, Standardized),
    TX_FILE(STunnelConfName, Standardized),
    TX_FILE(STunnelPIDName, Standardized),
    TX_FILE(BandwidthThrottleFilePath, UserStandardized),
    TX_FILE(BandwidthThrottleFilePathForRuvo, UserStandardized),
    TX_FILE(SchedulerSettingsFile, Plain),
    TX_FILE(SchedulerState, Plain),
    TX_FILE(RemoteEnumerationFileListPath, Standardized),
    TX_FILE(LDBFolder, IndexFolder),
    TX_FILE(LDBDetailsFilePath, IndexDetails),
    TX_FILE(LDBTempFolderPath, User),
    TX_FILE(BGFilePath, Standardized),
    TX_FILE(BackupsetSizePath, UserStandardized),
    TX_FILE(BackupsetSizeFlagPath, UserStandardized),
    TX_FILE(SyncErrorFile, UserStandardized),
    TX_FILE(SyncCommandOutput, UserStandardized),
    TX_FILE(TempFile, UserStandardized),
    TX_FILE(TempFileOne, UserStandardized),
    TX_FILE(ProxySetting, Standardized),
    TX_FILE(LoggedInUserNamesListPath, Plain),
    TX_FILE(EncryptionKeyPath, UserStandardized),
    TX_FILE(DefaultKeyPath, UserStandardized),
    TX_FILE(TempEncryptionKeyPath, UserStandardized),
    TX_FILE(DecryptionKeyPath, UserStandardized),
    TX_FILE(RuvoUserDetails, UserStandardized),
    TX_FILE(RSyncCancelFilePath, Standardized),
    TX_FILE(WebManagementLogFilePath, Plain),
    TX_FILE(ApplicationBandwidthThrottleForRestore, User),
    TX_FILE(EncPrefKeyPath, Standardized),
    TX_FILE(EncKeyPath, UserStandardized),
    TX_FILE(CDPFilePath, User),
    TX_FILE(DestinationDrivePath, UserStandardized),
    TX_FILE(DatabaseReIndexingStatusPath, Plain),
};

#undef TX_FILE

// The row of a file number, or null for a number that names no file.
const Row *rowOf(int number)
{
    for (const Row &row : kTable)
        if (int(row.file) == number)
            return &row;
    return nullptr;
}

// A user name that would climb out of, or stand for, the folder of all users.
bool isUsableName(const QString &name)
{
    return !name.isEmpty() && !name.contains('/') && name != QLatin1String(".") && name != QLatin1String("..");
}

// The value of a key, or null when the table lacks it (lookup answers the key itself then).
QString lookUpPathValue(const QString &key)
{
    const QString value = QLLocalizedString(key);
    if (value == key) {
        qWarning().noquote() << "application file key missing from the table:" << key;
        return {};
    }
    return value;
}

}  // namespace

TXSupportFileManager &TXSupportFileManager::txFileManager() { return ProgramContext::current().files(); }

void TXSupportFileManager::setTarnixUserName(const QString &name)
{
    QMutexLocker lock(&mMutex);
    gTarnixUserName = name;
    guserName = name;
}

void TXSupportFileManager::setUserName(const QString &name)
{
    QMutexLocker lock(&mMutex);
    guserName = name;
}

QString TXSupportFileManager::currentUserNameLocked() const
{
    return isTarnixApplication() ? gTarnixUserName : guserName;
}

QString TXSupportFileManager::TarnixUserName() const
{
    QMutexLocker lock(&mMutex);
    return currentUserNameLocked();
}

void TXSupportFileManager::setSyncUserName(const QString &name)
{
    QMutexLocker lock(&mMutex);
    gSyncUserName = name;
}

QString TXSupportFileManager::syncUserName() const
{
    QMutexLocker lock(&mMutex);
    return gSyncUserName;
}

void TXSupportFileManager::setDestinationDrive(const QString &drive, bool *isChanged)
{
    QMutexLocker lock(&mMutex);
    if (isChanged)
        *isChanged = drive != gDestinationDrive;
    gDestinationDrive = drive;
}

QString TXSupportFileManager::destinationDrive() const
{
    QMutexLocker lock(&mMutex);
    return gDestinationDrive;
}

QString TXSupportFileManager::applicationName() const { return QLLocalizedString(QStringLiteral("ApplicationName")); }

bool TXSupportFileManager::isTarnixApplication() const { return Brand::isTarnix(); }

QString TXSupportFileManager::pathForApplicationFile(int number) const
{
    const Row *found = rowOf(number);
    if (!found)
        return {};
    const Row &row = *found;
    QString user;
    QString syncUser;
    QString drive;
    {
        QMutexLocker lock(&mMutex);
        user = currentUserNameLocked();
        syncUser = gSyncUserName;
        drive = gDestinationDrive;
    }

    const auto refusePerUser = [&row]() {
        qWarning().noquote() << "no usable user name for the per-user file" << row.key;
        return QString();
    };

    switch (row.form) {
    case Form::Plain:
        return lookUpPathValue(row.key);
    case Form::Standardized: {
        const QString value = lookUpPathValue(row.key);
        return value.isEmpty() ? value : PathStandardizer::standardizePath(value);
    }
    case Form::User:
    case Form::UserStandardized: {
        if (!isUsableName(user))
            return refusePerUser();
        const QString value = lookUpPathValue(row.key);
        if (value.isEmpty())
            return value;
        const QString path = PathTemplate::fillTemplate(value, {user});
        return row.form == Form::User ? path : PathStandardizer::standardizePath(path);
    }
    case Form::ProgressFile: {
        if (!isUsableName(user))
            return refusePerUser();
        const QString value = lookUpPathValue(row.key);
        return value.isEmpty()
                   ? value
                   : PathStandardizer::standardizePath(PathTemplate::fillTemplate(value, {user, QStringLiteral("%d")}));
    }
    case Form::IndexFolder: {
        const bool backupMode = QLUtility::isAppInBackupMode(user);
        const QString owner = backupMode ? user : syncUser;
        if (!isUsableName(owner) || !isUsableName(drive))
            return refusePerUser();
        const QString value =
            lookUpPathValue(backupMode ? QStringLiteral("LDBFolder") : QStringLiteral("SyncLDBFolder"));
        return value.isEmpty() ? value : PathTemplate::fillTemplate(value, {drive, owner});
    }
    case Form::IndexDetails: {
        if (!isUsableName(user))
            return refusePerUser();
        const bool backupMode = QLUtility::isAppInBackupMode(user);
        const QString value = lookUpPathValue(backupMode ? QStringLiteral("LDBDetailsFilePath")
                                                         : QStringLiteral("SyncLDBDetailsFilePath"));
        return value.isEmpty() ? value : PathTemplate::fillTemplate(value, {user});
    }
    }
    return {};
}

QString TXSupportFileManager::interactiveBackupProgressFilePath(int engineNumber) const
{
    const QString user = TarnixUserName();
    if (!isUsableName(user))
        return {};
    const QString value = lookUpPathValue(QStringLiteral("InteractiveBackupProgressFilePath"));
    return value.isEmpty() ? value
                           : PathStandardizer::standardizePath(
                                 PathTemplate::fillTemplate(value, {user, QString::number(engineNumber)}));
}
