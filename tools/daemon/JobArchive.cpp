#include "daemon/JobArchive.h"

#include "platform/ErrorSlot.h"
#include "platform/PropertyList.h"
#include "platform/SidecarLock.h"

#include <QDir>
#include <QFileInfo>
#include <QUuid>

namespace {

const QString kRootKey = QStringLiteral("Schedules");
const QString kRecordClass = QStringLiteral("TarnixScheduleItem");
const QString kIdentity = QStringLiteral("scheduleIdentifier");
const QString kTime = QStringLiteral("scheduleTime");

// The jobs, and beside them the archive's other root entries, which a rewrite keeps.
std::optional<QList<ArchivedJob>> readUnlocked(const QString &path, QString *error, QVariantMap *rootEntries = nullptr)
{
    if (!QFileInfo::exists(path))
        return QList<ArchivedJob>();
    const auto root = KeyedArchive::read(path, error);
    if (!root)
        return std::nullopt;
    const QVariant array = root->value(kRootKey);
    if (root->contains(kRootKey) && array.typeId() != QMetaType::QVariantList) {
        ErrorSlot::fill(error, path + QStringLiteral(": the schedules are not a list"));
        return std::nullopt;
    }
    if (rootEntries)
        *rootEntries = *root;
    QList<ArchivedJob> jobs;
    for (const QVariant &entry : array.toList())
        jobs << ArchivedJob(entry);
    return jobs;
}

}  // namespace

ArchivedJob::ArchivedJob(const QVariant &entry)
    : mRawEntry(entry)
{
    if (entry.userType() == qMetaTypeId<KeyedArchive::ArchivedObject>()) {
        mObject = entry.value<KeyedArchive::ArchivedObject>();
        mIsSchedule = mObject.className == kRecordClass;
    }
}

QVariant ArchivedJob::entry() const { return mIsSchedule ? QVariant::fromValue(mObject) : mRawEntry; }

QString ArchivedJob::identity() const { return field("scheduleIdentifier").toString(); }

void ArchivedJob::ensureIdentity()
{
    if (identity().isEmpty())
        mObject.fields.insert(kIdentity, QUuid::createUuid().toString(QUuid::WithoutBraces));
}

QDateTime ArchivedJob::scheduleTime() const
{
    const QDateTime time = mObject.fields.value(kTime).toDateTime();
    return time.isValid() ? QDateTime::fromSecsSinceEpoch(time.toSecsSinceEpoch()) : QDateTime();
}

void ArchivedJob::setScheduleTime(const QDateTime &time)
{
    mObject.fields.insert(kTime, QDateTime::fromSecsSinceEpoch(time.toSecsSinceEpoch(), Qt::UTC));
}

namespace JobArchive {

std::optional<QList<ArchivedJob>> read(const QString &path, QString *error)
{
    const auto lock = SidecarLock::acquire(path, SidecarLock::Mode::Shared, error);
    if (!lock)
        return std::nullopt;
    return readUnlocked(path, error);
}

bool update(const QString &path, const std::function<bool(QList<ArchivedJob> &)> &edit, QString *error)
{
    const auto lock = SidecarLock::acquire(path, SidecarLock::Mode::Exclusive, error);
    if (!lock)
        return false;
    QVariantMap root;
    auto jobs = readUnlocked(path, error, &root);
    if (!jobs)
        return false;
    if (!edit(*jobs))
        return true;
    QVariantList entries;
    for (const ArchivedJob &job : *jobs)
        entries << job.entry();
    QDir().mkpath(QFileInfo(path).absolutePath());
    root.insert(kRootKey, entries);
    return KeyedArchive::write(path, root, PropertyList::kOwnerReadWrite, error);
}

}  // namespace JobArchive
