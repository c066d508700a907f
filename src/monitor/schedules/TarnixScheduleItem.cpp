#include "monitor/schedules/TarnixScheduleItem.h"

#include "common/utility/QLUtility.h"

#include <QLocale>
#include <QUuid>

namespace {

QString newIdentifier() { return QUuid::createUuid().toString(QUuid::WithoutBraces); }

// A stored time (a calendar date or a plain date) as a local date of whole seconds.
QDateTime decodedTime(const QVariant &value)
{
    const QDateTime time = value.toDateTime();
    return time.isValid() ? QDateTime::fromSecsSinceEpoch(time.toSecsSinceEpoch()).toLocalTime() : QDateTime();
}

}  // namespace

const QStringList &TarnixScheduleItem::archivedKeys()
{
    static const QStringList keys{kScheduleType,
                                  kScheduleTime,
                                  kFrequency,
                                  kStatus,
                                  kDestination,
                                  kUsername,
                                  kTarnixUserName,
                                  kEmailids,
                                  kDisplayDesktopNotification,
                                  kShouldStartMissedScheduleBackup,
                                  kSendEmailNotification,
                                  kUserAtServer,
                                  kServerName,
                                  kQuotaServerName,
                                  kPassword,
                                  kProcessReferenceFile,
                                  kIsUseSSL,
                                  kScheduleTimeSettings,
                                  kSelectedDaysForSchedule,
                                  kSendLogExtract,
                                  kNotifyOnFailure,
                                  kIsAutoSyncEnabled};
    return keys;
}

TarnixScheduleItem::TarnixScheduleItem()
    : mScheduleTime(QDateTime::currentDateTime())
    , mScheduleIdentifier(newIdentifier())
{}

TarnixScheduleItem TarnixScheduleItem::copy() const
{
    TarnixScheduleItem item = *this;
    item.mScheduleTimeSettings = 0;
    item.mSelectedDaysForSchedule.clear();
    item.mIsBackupNow = false;
    item.mUnknownFields.clear();
    item.mScheduleIdentifier = newIdentifier();
    return item;
}

KeyedArchive::ArchivedObject TarnixScheduleItem::toArchivedObject() const
{
    QVariantMap fields = mUnknownFields;
    fields.insert(kScheduleType, mScheduleType);
    if (mScheduleTime.isValid())
        fields.insert(kScheduleTime, QDateTime::fromSecsSinceEpoch(mScheduleTime.toSecsSinceEpoch(), Qt::UTC));
    fields.insert(kFrequency, mFrequency);
    fields.insert(kStatus, mStatus);
    fields.insert(kDestination, mDestination);
    fields.insert(kUsername, mUsername);
    fields.insert(kTarnixUserName, mTarnixUserName);
    fields.insert(kEmailids, mEmailids);
    fields.insert(kDisplayDesktopNotification, mDisplayDesktopNotification);
    fields.insert(kShouldStartMissedScheduleBackup, mShouldStartMissedScheduleBackup);
    fields.insert(kSendEmailNotification, mSendEmailNotification);
    fields.insert(kUserAtServer, mUserAtServer);
    fields.insert(kServerName, mServerName);
    fields.insert(kQuotaServerName, mQuotaServerName);
    fields.insert(kPassword, mPassword);
    fields.insert(kProcessReferenceFile, mProcessReferenceFile);
    fields.insert(kIsUseSSL, mIsUseSSL);
    fields.insert(kScheduleTimeSettings, mScheduleTimeSettings);
    fields.insert(kSelectedDaysForSchedule, mSelectedDaysForSchedule);
    fields.insert(kSendLogExtract, mSendLogExtract);
    fields.insert(kNotifyOnFailure, mNotifyOnFailure);
    fields.insert(kIsAutoSyncEnabled, mIsAutoSyncEnabled);
    if (!mScheduleIdentifier.isEmpty())
        fields.insert(kScheduleIdentifier, mScheduleIdentifier);
    return {kClassName, fields};
}

std::optional<TarnixScheduleItem> TarnixScheduleItem::fromArchivedObject(const KeyedArchive::ArchivedObject &object)
{
    if (object.className != kClassName)
        return std::nullopt;
    const QVariantMap &f = object.fields;
    TarnixScheduleItem item;
    // A key missing from an older archive reads as 0, NO or nothing.
    item.mScheduleType = f.value(kScheduleType).toInt();
    item.mScheduleTime = decodedTime(f.value(kScheduleTime));
    item.mFrequency = f.value(kFrequency).toInt();
    item.mStatus = f.value(kStatus).toInt();
    item.mDestination = f.value(kDestination).toString();
    item.mUsername = f.value(kUsername).toString();
    item.mTarnixUserName = f.value(kTarnixUserName).toString();
    item.mEmailids = f.value(kEmailids).toString();
    item.mDisplayDesktopNotification = f.value(kDisplayDesktopNotification).toBool();
    item.mShouldStartMissedScheduleBackup = f.value(kShouldStartMissedScheduleBackup).toBool();
    item.mSendEmailNotification = f.value(kSendEmailNotification).toBool();
    item.mUserAtServer = f.value(kUserAtServer).toString();
    item.mServerName = f.value(kServerName).toString();
    item.mQuotaServerName = f.value(kQuotaServerName).toString();
    item.mPassword = f.value(kPassword).toString();
    item.mProcessReferenceFile = f.value(kProcessReferenceFile).toString();
    item.setSSL(f.value(kIsUseSSL).toBool() ? QStringLiteral("YES") : QStringLiteral("NO"));
    item.mScheduleTimeSettings = f.value(kScheduleTimeSettings).toInt();
    item.mSelectedDaysForSchedule = f.value(kSelectedDaysForSchedule).toList();
    item.mSendLogExtract = f.value(kSendLogExtract).toBool();
    item.mNotifyOnFailure = f.value(kNotifyOnFailure).toBool();
    item.mIsAutoSyncEnabled = f.value(kIsAutoSyncEnabled).toBool();
    item.mScheduleIdentifier = f.value(kScheduleIdentifier).toString();
    item.mUnknownFields = f;
    for (const QString &key : archivedKeys())
        item.mUnknownFields.remove(key);
    item.mUnknownFields.remove(kScheduleIdentifier);
    return item;
}

QString TarnixScheduleItem::identityKey() const
{
    if (!mScheduleIdentifier.isEmpty())
        return mScheduleIdentifier;
    QStringList days;
    for (int day : dayIndexes(mSelectedDaysForSchedule))
        days << QString::number(day);
    return QStringList{mUsername,
                       mTarnixUserName,
                       QString::number(mScheduleType),
                       QString::number(mFrequency),
                       QString::number(mScheduleTime.toSecsSinceEpoch()),
                       mProcessReferenceFile,
                       days.join(',')}
        .join(QChar(0x1f));
}

std::optional<QString> TarnixScheduleItem::validationError() const
{
    if (mScheduleType != Backup && mScheduleType != Restore)
        return QStringLiteral("The job's type %1 is unknown.").arg(mScheduleType);
    if (mFrequency < Immediate || mFrequency > SelectedDays)
        return QStringLiteral("The job's frequency %1 is unknown.").arg(mFrequency);
    if (mStatus < NoStatus || mStatus > Completed)
        return QStringLiteral("The job's status %1 is unknown.").arg(mStatus);
    if (!mScheduleTime.isValid())
        return QStringLiteral("The job has no time.");
    if (mUsername.trimmed().isEmpty() || mTarnixUserName.trimmed().isEmpty())
        return QStringLiteral("The job names no account.");
    for (const QVariant &day : mSelectedDaysForSchedule) {
        bool isNumber = false;
        const int index = day.toString().toInt(&isNumber);
        if (!isNumber || index < 0 || index > 6)
            return QStringLiteral("\"%1\" is not a day of the week.").arg(day.toString());
    }
    for (const QString &address : mEmailids.split(QLatin1Char(','), Qt::SkipEmptyParts))
        if (!QLUtility::isEmailID(address.trimmed()))
            return QStringLiteral("\"%1\" is not an e-mail address.").arg(address.trimmed());
    return std::nullopt;
}

bool TarnixScheduleItem::isEqualToScheduleItem(const TarnixScheduleItem &other) const
{
    const qint64 laterBy = other.mScheduleTime.msecsTo(mScheduleTime);
    return mScheduleType == other.mScheduleType && laterBy >= 0 && laterBy <= 60 * 1000 && mStatus == other.mStatus &&
           mDestination == other.mDestination && mUsername == other.mUsername && mEmailids == other.mEmailids &&
           mDisplayDesktopNotification == other.mDisplayDesktopNotification &&
           mShouldStartMissedScheduleBackup == other.mShouldStartMissedScheduleBackup &&
           mSendEmailNotification == other.mSendEmailNotification && mSendLogExtract == other.mSendLogExtract &&
           mNotifyOnFailure == other.mNotifyOnFailure;
}

QString TarnixScheduleItem::scheduleTypeString() const
{
    switch (mScheduleType) {
    case Backup:
        return QStringLiteral("Backup");
    case Restore:
        return QStringLiteral("Restore");
    default:
        return {};
    }
}

QString TarnixScheduleItem::scheduleTimeString() const
{
    return QLocale::c().toString(mScheduleTime, QStringLiteral("ddd MMM dd yyyy hh:mm:ss AP"));
}

QString TarnixScheduleItem::frequencyString(const QList<TarnixScheduleItem> &archive) const
{
    switch (mFrequency) {
    case Immediate:
        return QStringLiteral("Immediate");
    case Hourly:
        return QStringLiteral("Hourly ");
    case Daily:
        return QStringLiteral("Daily");
    case Weekdays:
        return QStringLiteral("Weekdays");
    case Monthly:
        return QStringLiteral("Monthly");
    case SelectedDays:
        return scheduledDays(archive);
    default:
        return QStringLiteral("None");
    }
}

QString TarnixScheduleItem::statusString() const
{
    switch (mStatus) {
    case NoStatus:
        return QString(QLatin1String(""));
    case InProgress:
        return QStringLiteral("In progress");
    case Canceled:
        return QStringLiteral("Canceled");
    case Completed:
        return QStringLiteral("Completed");
    default:
        return QStringLiteral("InvalidStatus");
    }
}

QString TarnixScheduleItem::scheduledDays(const QList<TarnixScheduleItem> &archive) const
{
    if (mFrequency != SelectedDays)
        return frequencyString(archive);
    const auto namesOf = [](const QVariantList &days) {
        QStringList names;
        for (int day : dayIndexes(days))
            if (!dayName(day).isEmpty())
                names << dayName(day);
        return names;
    };
    if (!mSelectedDaysForSchedule.isEmpty())
        return namesOf(mSelectedDaysForSchedule).join(',');
    // No days of its own: the days of the user's archived jobs, a job without days counting as the weekdays.
    QStringList names;
    for (const TarnixScheduleItem &item : archive) {
        if (item.mUsername != mUsername)
            continue;
        names += item.mSelectedDaysForSchedule.isEmpty()
                     ? QStringList{dayName(1), dayName(2), dayName(3), dayName(4), dayName(5)}
                     : namesOf(item.mSelectedDaysForSchedule);
    }
    return names.isEmpty() ? QStringLiteral("None") : names.join(',');
}

QList<bool> TarnixScheduleItem::daysArray() const
{
    QList<bool> flags(7, false);
    for (int day : dayIndexes(mSelectedDaysForSchedule))
        if (day >= 0 && day <= 6)
            flags[day] = true;
    return flags;
}

QList<int> TarnixScheduleItem::dayIndexes(const QVariantList &days)
{
    QList<int> indexes;
    for (const QVariant &day : days)
        indexes << day.toInt();
    return indexes;
}

QString TarnixScheduleItem::dayName(int index)
{
    static const QStringList names{"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
    return index >= 0 && index < names.size() ? names.at(index) : QString();
}
