#include "monitor/schedules/ScheduleArchive.h"

#include "platform/ErrorSlot.h"
#include "platform/PropertyList.h"

#include <QDir>
#include <QFileInfo>

namespace ScheduleArchive {

std::optional<Contents> read(const QString &path, QString *error, bool *missing)
{
    const bool exists = QFileInfo::exists(path);
    if (missing)
        *missing = !exists;
    if (!exists) {
        ErrorSlot::fill(error, QStringLiteral("%1 does not exist").arg(path));
        return std::nullopt;
    }
    QString reason;
    const auto root = KeyedArchive::read(path, &reason);
    if (!root) {
        ErrorSlot::fill(error, reason);
        return std::nullopt;
    }
    Contents contents;
    contents.otherRootEntries = *root;
    contents.otherRootEntries.remove(kRootKey);
    const QVariant array = root->value(kRootKey);
    if (!root->contains(kRootKey))
        return contents;
    if (array.typeId() != QMetaType::QVariantList) {
        ErrorSlot::fill(error, QStringLiteral("%1: \"%2\" is not a list of schedules").arg(path, kRootKey));
        return std::nullopt;
    }
    for (const QVariant &entry : array.toList()) {
        std::optional<TarnixScheduleItem> record;
        if (entry.userType() == qMetaTypeId<KeyedArchive::ArchivedObject>())
            record = TarnixScheduleItem::fromArchivedObject(entry.value<KeyedArchive::ArchivedObject>());
        if (record)
            contents.records << *record;
        else
            contents.otherEntries << entry;
    }
    return contents;
}

bool write(const QString &path, const Contents &contents, QString *error)
{
    QVariantList array;
    for (const TarnixScheduleItem &record : contents.records)
        array << QVariant::fromValue(record.toArchivedObject());
    array += contents.otherEntries;
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        ErrorSlot::fill(error, QStringLiteral("cannot make the folder of %1").arg(path));
        return false;
    }
    QVariantMap root = contents.otherRootEntries;
    root.insert(kRootKey, array);
    return KeyedArchive::write(path, root, PropertyList::kOwnerReadWrite, error);
}

}  // namespace ScheduleArchive
