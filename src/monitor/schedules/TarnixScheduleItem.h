#pragma once

#include "platform/KeyedArchive.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QVariantList>
#include <QVariantMap>

#include <optional>

// The record of one scheduled job: what kind of job, for which account, when it
// runs next, how often it repeats, how the user hears of the result and its
// last state. The schedules archive holds these records for the daemon, so the
// class name, the field keys and their kinds are a file format: every archived
// key, including keys this build does not know, survives a read and a write.
class TarnixScheduleItem
{
public:
    enum Frequency
    {
        Immediate = 0,
        Hourly = 1,
        Daily = 2,
        Weekdays = 3,
        Monthly = 4,
        SelectedDays = 5
    };
    enum Status
    {
        NoStatus = 0,
        InProgress = 1,
        Canceled = 2,
        Completed = 3
    };
    enum ScheduleType
    {
        Backup = 0,
        Restore = 1
    };

    static inline const QString kClassName = QStringLiteral("TarnixScheduleItem");

    // Archive keys, in the order the record is archived.
    static inline const QString kScheduleType = QStringLiteral("scheduleType");
    static inline const QString kScheduleTime = QStringLiteral("scheduleTime");
    static inline const QString kFrequency = QStringLiteral("frequency");
    static inline const QString kStatus = QStringLiteral("status");
    static inline const QString kDestination = QStringLiteral("destination");
    static inline const QString kUsername = QStringLiteral("username");
    static inline const QString kTarnixUserName = QStringLiteral("tarnixUserName");
    static inline const QString kEmailids = QStringLiteral("emailids");
    static inline const QString kDisplayDesktopNotification = QStringLiteral("displayDesktopNotification");
    static inline const QString kShouldStartMissedScheduleBackup = QStringLiteral("shouldStartMissedScheduleBackup");
    static inline const QString kSendEmailNotification = QStringLiteral("sendEmailNotification");
    static inline const QString kUserAtServer = QStringLiteral("userAtServer");
    static inline const QString kServerName = QStringLiteral("serverName");
    static inline const QString kQuotaServerName = QStringLiteral("quotaServerName");
    static inline const QString kPassword = QStringLiteral("password");
    static inline const QString kProcessReferenceFile = QStringLiteral("processReferenceFile");
    static inline const QString kIsUseSSL = QStringLiteral("isUseSSL");
    static inline const QString kScheduleTimeSettings = QStringLiteral("scheduleTimeSettings");
    static inline const QString kSelectedDaysForSchedule = QStringLiteral("selectedDaysForSchedule");
    static inline const QString kSendLogExtract = QStringLiteral("sendLogExtract");
    static inline const QString kNotifyOnFailure = QStringLiteral("notifyOnFailure");
    static inline const QString kIsAutoSyncEnabled = QStringLiteral("isAutoSyncEnabled");
    // Our own addition: a record's identity, so that a selection or a delete
    // names a record and not a row while the daemon rewrites the list.
    static inline const QString kScheduleIdentifier = QStringLiteral("scheduleIdentifier");

    static const QStringList &archivedKeys();  // the 22 keys above, in order

    // A record with the defaults: a daily backup now, for no user.
    TarnixScheduleItem();
    // A new record with the same job; the days, the time-settings row and the
    // backup-now mark keep their defaults, and it has an identity of its own.
    TarnixScheduleItem copy() const;

    // The archive form, and a record read back from it; none for an object of
    // another class. A decoded time carries whole seconds.
    KeyedArchive::ArchivedObject toArchivedObject() const;
    static std::optional<TarnixScheduleItem> fromArchivedObject(const KeyedArchive::ArchivedObject &object);

    int scheduleType() const { return mScheduleType; }
    void setScheduleType(int type) { mScheduleType = type; }
    QDateTime scheduleTime() const { return mScheduleTime; }
    void setScheduleTime(const QDateTime &time) { mScheduleTime = time; }
    int frequency() const { return mFrequency; }
    void setFrequency(int frequency) { mFrequency = frequency; }
    int status() const { return mStatus; }
    void setStatus(int status) { mStatus = status; }
    QString destination() const { return mDestination; }
    void setDestination(const QString &destination) { mDestination = destination; }
    QString username() const { return mUsername; }
    void setUsername(const QString &name) { mUsername = name; }
    QString tarnixUserName() const { return mTarnixUserName; }
    void setTarnixUserName(const QString &name) { mTarnixUserName = name; }
    QString emailids() const { return mEmailids; }
    void setEmailids(const QString &ids) { mEmailids = ids; }
    bool displayDesktopNotification() const { return mDisplayDesktopNotification; }
    void setDisplayDesktopNotification(bool on) { mDisplayDesktopNotification = on; }
    bool shouldStartMissedScheduleBackup() const { return mShouldStartMissedScheduleBackup; }
    void setShouldStartMissedScheduleBackup(bool on) { mShouldStartMissedScheduleBackup = on; }
    bool sendEmailNotification() const { return mSendEmailNotification; }
    void setSendEmailNotification(bool on) { mSendEmailNotification = on; }
    QString userAtServer() const { return mUserAtServer; }
    void setUserAtServer(const QString &address) { mUserAtServer = address; }
    QString serverName() const { return mServerName; }
    void setServerName(const QString &name) { mServerName = name; }
    QString quotaServername() const { return mQuotaServerName; }
    void setQuotaServerName(const QString &name) { mQuotaServerName = name; }
    QString password() const { return mPassword; }
    void setPassword(const QString &password) { mPassword = password; }
    QString processReferenceFile() const { return mProcessReferenceFile; }
    void setProcessReferenceFile(const QString &path) { mProcessReferenceFile = path; }
    bool isUseSSL() const { return mIsUseSSL; }
    // "YES" exactly turns the flag on; any other text ("yes" too) turns it off.
    void setSSL(const QString &flag) { mIsUseSSL = flag == QLatin1String("YES"); }
    int scheduleTimeSettings() const { return mScheduleTimeSettings; }
    void setScheduleTimeSettings(int row) { mScheduleTimeSettings = row; }
    // Weekday indexes, 0 = Sunday, as numbers or as their decimal texts.
    QVariantList selectedDaysForSchedule() const { return mSelectedDaysForSchedule; }
    void setSelectedDaysForSchedule(const QVariantList &days) { mSelectedDaysForSchedule = days; }
    bool sendLogExtract() const { return mSendLogExtract; }
    void setSendLogExtract(bool on) { mSendLogExtract = on; }
    bool notifyOnFailure() const { return mNotifyOnFailure; }
    void setNotifyOnFailure(bool on) { mNotifyOnFailure = on; }
    bool isAutoSyncEnabled() const { return mIsAutoSyncEnabled; }
    void setIsAutoSyncEnabled(bool on) { mIsAutoSyncEnabled = on; }
    // In memory only: never archived or copied.
    bool isBackupNow() const { return mIsBackupNow; }
    void setBackupNow(bool on) { mIsBackupNow = on; }

    QString scheduleIdentifier() const { return mScheduleIdentifier; }
    void setScheduleIdentifier(const QString &identifier) { mScheduleIdentifier = identifier; }
    // What names this job across reloads: its identity, or for a record written
    // without one (by another writer), its user, kind, set and days.
    QString identityKey() const;
    bool isSameRecord(const TarnixScheduleItem &other) const { return identityKey() == other.identityKey(); }

    // Why the record may not be stored; none when it may: a known type,
    // frequency and status, a time, a user, weekday indexes 0-6 and well-formed
    // notification addresses.
    std::optional<QString> validationError() const;

    // Same type, status, destination, user, addresses and notification flags,
    // and this record's time from the other's up to 60 seconds later (both bounds included).
    bool isEqualToScheduleItem(const TarnixScheduleItem &other) const;
    bool compareScheduleItems(const TarnixScheduleItem &other) const { return mStatus == other.mStatus; }

    // Display texts of the schedule list and the status menu. The selected-days
    // texts fall back on the user's records of the archive when the record has no days.
    QString scheduleTypeString() const;  // null for an unknown type
    QString scheduleTimeString() const;  // "Mon Jan 05 2026 09:00:00 AM"
    QString frequencyString(const QList<TarnixScheduleItem> &archive = {}) const;
    QString statusString() const;
    bool frequencyState() const { return mFrequency >= Daily && mFrequency <= SelectedDays; }
    QString scheduledDays(const QList<TarnixScheduleItem> &archive = {}) const;
    QList<bool> daysArray() const;  // seven flags, Sunday first

    // The day indexes of a day list, read as integers whatever their stored form.
    static QList<int> dayIndexes(const QVariantList &days);
    static QString dayName(int index);  // "" outside 0-6

private:
    int mScheduleType = Backup;
    QDateTime mScheduleTime;
    int mFrequency = Daily;
    int mStatus = NoStatus;
    QString mDestination = QStringLiteral("My Tarnix");
    QString mUsername = QStringLiteral("None");
    QString mTarnixUserName = QStringLiteral("None");
    QString mEmailids;
    bool mDisplayDesktopNotification = false;
    bool mShouldStartMissedScheduleBackup = false;
    bool mSendEmailNotification = false;
    QString mUserAtServer;
    QString mServerName;
    QString mQuotaServerName;
    QString mPassword;
    QString mProcessReferenceFile;
    bool mIsUseSSL = false;
    int mScheduleTimeSettings = 0;
    QVariantList mSelectedDaysForSchedule;
    bool mSendLogExtract = false;
    bool mNotifyOnFailure = false;
    bool mIsAutoSyncEnabled = false;
    bool mIsBackupNow = false;
    QString mScheduleIdentifier;
    QVariantMap mUnknownFields;  // keys of newer or other writers, written back as read
};
