#include "common/files/TXSupportFileManager.h"

#include "common/context/ProgramContext.h"

#include "common/texts/Brand.h"
#include "platform/PathStandardizer.h"
#include "platform/PathTemplate.h"
#include "common/texts/QLLocalizedString.h"
#include "common/utility/QLUtility.h"

#include <QtDebug>

#include <array>

namespace {

// How the looked-up value of a row becomes a path.
enum class Form {
    None,          // no file has this number
    Plain,         // the value as it is
    Standardized,  // the value standardized as a path
    User,          // the value filled with the current user name
    UserStandardized,
    ProgressFile,  // user name and a literal "%d" for a later engine number, standardized
    IndexFolder,   // drive and user, or drive and sync user in sync mode
    IndexDetails,  // the current user in both modes, under a key that depends on the mode
    NoArguments,   // filled with no arguments ("%%" becomes "%"), standardized
};

struct Row {
    const char *key;
    Form form;
};

constexpr int kLastFileNumber = 73;

constexpr std::array<Row, kLastFileNumber + 1> kTable = {{
    {"ApplicationRootFolderPath", Form::Plain},
    {"ApplicationUserFolderPath", Form::Standardized},
    {"DeamonPreferencePath", Form::Plain},
    {"ShortcutPreferencePath", Form::Standardized},
    {"ShortcutPath", Form::Standardized},
    {"SourceAFilePath", Form::UserStandardized},
    {"SourceBFilePath", Form::UserStandardized},
    {"Engine1ErrorPath", Form::UserStandardized},
    {"Engine2ErrorPath", Form::UserStandardized},
    {"NodeChecklistPath", Form::User},
    {"BackupsetPath", Form::User},
    {"TempBackupSetPath", Form::User},
    {"TempSyncsetPath", Form::User},
    {"ApplicationStatusPath", Form::Plain},
    {"MultiplePCStateFilePath", Form::Plain},
    {"InteractiveTraceFilePath", Form::Plain},
    {"MonitorTraceFilePath", Form::Plain},
    {"DaemonTraceFilePath", Form::Plain},
    {"InteractiveSessionLog", Form::Plain},
    {"ScheduledBackupLog", Form::Plain},
    {"UserDetailsPath", Form::User},
    {"LoginDetailsFilePath", Form::UserStandardized},
    {"LogsFolderPath", Form::Plain},
    {"SessionLogsFolderPath", Form::Plain},
    {"InteractiveBackupFolderPath", Form::UserStandardized},
    {"InteractiveBackupProgressFilePath", Form::ProgressFile},
    {"InteractiveBackupRequestListA", Form::UserStandardized},
    {"InteractiveBackupRequestListB", Form::UserStandardized},
    {"InteractiveBackupRequestIncrementListA", Form::UserStandardized},
    {"InteractiveBackupRequestIncrementListB", Form::UserStandardized},
    {"InteractiveBackupRequestSizeA", Form::UserStandardized},
    {"InteractiveBackupRequestSizeB", Form::UserStandardized},
    {"LoginCheckilePath", Form::UserStandardized},
    {"LastUserLoginDetailsFilePath", Form::Standardized},
    {"UserFolder", Form::UserStandardized},
    {"RootUserFolder", Form::User},
    {"LoginInfo", Form::Standardized},
    {"STunnelRelativePath", Form::Plain},
    {"STunnelPath", Form::Standardized},
    {"STunnelConfName", Form::Standardized},
    {"STunnelPIDName", Form::Standardized},
    {"BandwidthThrottleFilePath", Form::UserStandardized},
    {"BandwidthThrottleFilePathForRuvo", Form::UserStandardized},
    {"SchedulerSettingsFile", Form::Plain},
    {"SchedulerState", Form::Plain},
    {"RemoteEnumerationFileListPath", Form::Standardized},
    {"LDBFolder", Form::IndexFolder},
    {"LDBDetailsFilePath", Form::IndexDetails},
    {"LDBTempFolderPath", Form::User},
    {"BGFilePath", Form::Standardized},
    {"BackupsetSizePath", Form::UserStandardized},
    {"BackupsetSizeFlagPath", Form::UserStandardized},
    {"SyncErrorFile", Form::UserStandardized},
    {"SyncCommandOutput", Form::UserStandardized},
    {"TempFile", Form::UserStandardized},
    {"TempFileOne", Form::UserStandardized},
    {nullptr, Form::None},
    {nullptr, Form::None},
    {"ProxySetting", Form::Standardized},
    {"LoggedInUserNamesListPath", Form::Plain},
    {"EncryptionKeyPath", Form::UserStandardized},
    {"DefaultKeyPath", Form::UserStandardized},
    {"TempEncryptionKeyPath", Form::UserStandardized},
    {"DecryptionKeyPath", Form::UserStandardized},
    {"RuvoUserDetails", Form::UserStandardized},
    {"RSyncCancelFilePath", Form::Standardized},
    {"WebManagementLogFilePath", Form::Plain},
    {"ApplicationBandwidthThrottleForRestore", Form::User},
    {"EncPrefKeyPath", Form::Standardized},
    {"EncKeyPath", Form::UserStandardized},
    {"CDPFilePath", Form::User},
    {"ExcludeInfoPath", Form::NoArguments},
    {"DestinationDrivePath", Form::UserStandardized},
    {"DatabaseReIndexingStatusPath", Form::Plain},
}};

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

TXSupportFileManager &TXSupportFileManager::txFileManager()
{
    return ProgramContext::current().files();
}

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
    if (number < 0 || number > kLastFileNumber || kTable[number].form == Form::None)
        return {};
    const Row &row = kTable[number];
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
        return value.isEmpty() ? value : standardizePath(value);
    }
    case Form::User:
    case Form::UserStandardized: {
        if (!isUsableName(user))
            return refusePerUser();
        const QString value = lookUpPathValue(row.key);
        if (value.isEmpty())
            return value;
        const QString path = fillTemplate(value, {user});
        return row.form == Form::User ? path : standardizePath(path);
    }
    case Form::ProgressFile: {
        if (!isUsableName(user))
            return refusePerUser();
        const QString value = lookUpPathValue(row.key);
        return value.isEmpty() ? value : standardizePath(fillTemplate(value, {user, QStringLiteral("%d")}));
    }
    case Form::IndexFolder: {
        const bool backupMode = QLUtility::isAppInBackupMode(user);
        const QString owner = backupMode ? user : syncUser;
        if (!isUsableName(owner) || !isUsableName(drive))
            return refusePerUser();
        const QString value = lookUpPathValue(backupMode ? QStringLiteral("LDBFolder") : QStringLiteral("SyncLDBFolder"));
        return value.isEmpty() ? value : fillTemplate(value, {drive, owner});
    }
    case Form::IndexDetails: {
        if (!isUsableName(user))
            return refusePerUser();
        const bool backupMode = QLUtility::isAppInBackupMode(user);
        const QString value =
            lookUpPathValue(backupMode ? QStringLiteral("LDBDetailsFilePath") : QStringLiteral("SyncLDBDetailsFilePath"));
        return value.isEmpty() ? value : fillTemplate(value, {user});
    }
    case Form::NoArguments: {
        const QString value = lookUpPathValue(row.key);
        return value.isEmpty() ? value : standardizePath(fillTemplate(value));
    }
    case Form::None:
        break;
    }
    return {};
}

QString TXSupportFileManager::interactiveBackupProgressFilePath(int engineNumber) const
{
    const QString user = TarnixUserName();
    if (!isUsableName(user))
        return {};
    const QString value = lookUpPathValue(QStringLiteral("InteractiveBackupProgressFilePath"));
    return value.isEmpty() ? value : standardizePath(fillTemplate(value, {user, QString::number(engineNumber)}));
}
