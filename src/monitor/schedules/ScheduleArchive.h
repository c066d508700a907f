#pragma once

#include "monitor/schedules/TarnixScheduleItem.h"

#include <QList>
#include <QString>
#include <QVariantList>

#include <optional>

// The schedules archive file: a keyed archive whose root key "Schedules" holds
// the array of every user's records. Written whole and atomically, private to
// the user (it holds account passwords).
namespace ScheduleArchive {

inline const QString kRootKey = QStringLiteral("Schedules");

struct Contents
{
    QList<TarnixScheduleItem> records;
    QVariantList otherEntries;     // entries that are no schedule record, kept to be written back
    QVariantMap otherRootEntries;  // root keys beside "Schedules", kept too
};

// None, with the reason, when the file is missing, unreadable or damaged;
// *missing tells a missing file (an empty list of schedules) from a damaged one.
std::optional<Contents> read(const QString &path, QString *error = nullptr, bool *missing = nullptr);

// Replaces the file atomically with mode 0600; false, with the reason, when it could not.
bool write(const QString &path, const Contents &contents, QString *error = nullptr);

}  // namespace ScheduleArchive
