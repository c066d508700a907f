#include "monitor/app/ImmediateBackupRecord.h"

#include "common/account/MultipleComputerKeys.h"
#include "common/login/StoredLoginDetails.h"
#include "common/login/UserFiles.h"
#include "common/texts/Brand.h"
#include "common/texts/QLLocalizedString.h"
#include "platform/PathStandardizer.h"
#include "platform/PropertyList.h"

namespace {

constexpr int kSecondsAhead = 45;

// The computer folder of Backup now: the user's own folder name while several
// computers back up into one account, the brand's default label when asked for.
QString destinationFor(const QString &userName, const QString &current)
{
    const QString statePath =
        PathStandardizer::standardizePath(QLLocalizedString(QStringLiteral("MultiplePCStateFilePath")));
    const QVariantMap user = PropertyList::readDictionary(statePath).value(userName).toMap();
    const QString label = Brand::pick(QStringLiteral("MyTarnix"), QStringLiteral("MyQuellon"));
    const QString mode = user.value(MultipleComputerKeys::kEnableMultipleMacBackupKey).toString();
    if (mode == QLatin1String("1")) {
        const QString folder = user.value(MultipleComputerKeys::kMultipleMacFolderName).toString();
        return folder.isEmpty() ? label : folder;
    }
    return mode == QLatin1String("2") ? label : current;
}

}  // namespace

namespace ImmediateBackupRecord {

std::optional<TarnixScheduleItem> backupNow(const QList<TarnixScheduleItem> &working, const QDateTime &now)
{
    const auto login = StoredLoginDetails::lastUserDetails();
    if (!login)
        return std::nullopt;
    const QString tarnixUserName =
        login->value(Brand::pick(StoredLoginDetails::kTarnixUsername, StoredLoginDetails::kUsername)).toString();
    const QString userName = login->value(StoredLoginDetails::kUsername).toString();
    if (tarnixUserName.isEmpty())
        return std::nullopt;

    const QString backupSet = UserFiles::path(QStringLiteral("BackupsetPath"), Brand::pick(tarnixUserName, userName));
    if (PropertyList::read(backupSet).value_or(QVariant()).toList().isEmpty())
        return std::nullopt;

    TarnixScheduleItem record;
    record.setFrequency(0);
    record.setScheduleTime(now.addSecs(kSecondsAhead));
    record.setScheduleType(0);
    record.setStatus(0);
    record.setDisplayDesktopNotification(true);
    record.setUserAtServer(login->value(StoredLoginDetails::kUserAtServer).toString());
    record.setUsername(userName);
    record.setServerName(login->value(StoredLoginDetails::kServerName).toString());
    record.setPassword(login->value(StoredLoginDetails::kPassword).toString());
    record.setTarnixUserName(tarnixUserName);
    record.setSSL(login->value(StoredLoginDetails::kSSL).toString());
    record.setDestination(destinationFor(tarnixUserName, record.destination()));
    if (record.quotaServername().isEmpty())
        record.setQuotaServerName(login->value(StoredLoginDetails::kQuotaServerName).toString());
    for (const TarnixScheduleItem &existing : working) {
        if (existing.tarnixUserName() != tarnixUserName)
            continue;
        record.setSendEmailNotification(existing.sendEmailNotification());
        record.setEmailids(existing.emailids());
        record.setNotifyOnFailure(existing.notifyOnFailure());
        record.setSendLogExtract(existing.sendLogExtract());
        break;
    }
    record.setProcessReferenceFile(backupSet);
    return record;
}

}  // namespace ImmediateBackupRecord
