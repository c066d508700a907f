#pragma once

#include "platform/KeyedArchive.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QVariantList>

#include <functional>
#include <optional>

// One entry of the schedules archive as the daemon reads it: the archived
// object with its keyed fields, read and changed field by field, so that a
// rewrite keeps every field the daemon does not know. Entries that are no
// schedule record are carried along unread.
class ArchivedJob
{
public:
    explicit ArchivedJob(const QVariant &entry);

    bool isSchedule() const { return mIsSchedule; }
    QVariant entry() const;

    // A stable name for the job: its "scheduleIdentifier", given one when the daemon first runs it.
    QString identity() const;
    void ensureIdentity();

    int scheduleType() const { return field("scheduleType").toInt(); }
    int frequency() const { return field("frequency").toInt(); }
    int status() const { return field("status").toInt(); }
    void setStatus(int status) { mObject.fields.insert(QStringLiteral("status"), status); }
    // The local time of the next run, whole seconds; invalid when missing.
    QDateTime scheduleTime() const;
    void setScheduleTime(const QDateTime &time);
    QString username() const { return field("username").toString(); }
    QString tarnixUserName() const { return field("tarnixUserName").toString(); }
    QString destination() const { return field("destination").toString(); }
    QString processReferenceFile() const { return field("processReferenceFile").toString(); }
    bool displayDesktopNotification() const { return field("displayDesktopNotification").toBool(); }
    bool shouldStartMissedScheduleBackup() const { return field("shouldStartMissedScheduleBackup").toBool(); }
    QVariantList selectedDays() const { return field("selectedDaysForSchedule").toList(); }

private:
    QVariant field(const char *key) const { return mObject.fields.value(QLatin1String(key)); }

    QVariant mRawEntry;
    bool mIsSchedule = false;
    KeyedArchive::ArchivedObject mObject;
};

// The daemon's side of the schedules archive (root key "Schedules"). Every
// read and rewrite happens under the archive's lock, which the monitor takes
// too; a rewrite replaces the whole file atomically, private to the user.
namespace JobArchive {

// The jobs; an empty list for a missing file; none, with the reason, for a damaged one.
std::optional<QList<ArchivedJob>> read(const QString &path, QString *error = nullptr);

// Re-reads the file under the exclusive lock and lets `edit` change the jobs;
// writes them back when it answers true. False, with the reason, when the
// file could not be read or written (a damaged file is left as it is).
bool update(const QString &path, const std::function<bool(QList<ArchivedJob> &)> &edit, QString *error = nullptr);

}  // namespace JobArchive
