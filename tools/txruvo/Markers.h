#pragma once

#include "txruvo/Posix.h"

#include <QHash>
#include <QString>

#include <functional>
#include <optional>

// The identifiers the engine reports for a stored item, kept in files that
// move with the item when the client renames it or its folder on the drive:
// the folder identifier in the folder's own marker, the encoded name in the
// item's "_.chk" marker. Both are small "key=value" line files.
namespace Markers {

// The encoded name of a file name: the hex digits of its UTF-8 bytes.
QString encodeName(const QString &name);
QString encodeName(const QByteArray &utf8Name);
std::optional<QString> decodeName(const QString &encoded);

struct ItemRecord
{
    QString encName;
    QString source;  // the local path it was backed up from
};

std::optional<ItemRecord> readItem(const QString &markerPath);
std::optional<ItemRecord> readItem(const Posix::FolderEntry &marker);
QByteArray itemContent(const ItemRecord &record);
// Writes an item marker whose modification time is a fingerprint of its
// content, so that a later run can tell the marker holds what it expects
// from its status alone, without opening it (an unchanged file's cost).
bool writeItem(const Posix::FolderEntry &marker, const QByteArray &content);
// Whether a marker, as lstat saw it, holds `content`: its size and its
// fingerprint agree. A marker written otherwise, or copied without its
// time, just needs to be read.
bool holdsContent(const struct stat &status, const QByteArray &content);

// The stored item's access time carries the same fingerprint of its
// marker's content, so that an unchanged file costs no look at its marker
// at all. Reading the item (a restore) moves its access time, which only
// sends the next backup to the marker itself.
struct timespec accessStamp(const QByteArray &markerContent);
bool stampedFor(const struct stat &itemStatus, const QByteArray &markerContent);
// Sets the item's access time (a link's own) to the stamp, or to now when
// `markerContent` is null (its marker could not be written).
bool stampItem(const Posix::FolderEntry &item, const QByteArray &markerContent);

// What a backup records of the source folder a stored folder stands for,
// so that a restore can give it back: its permission bits and its
// modification time. Kept in the folder's marker, as the stored folder
// itself stays open to the engine's user for later backups.
struct FolderAttributes
{
    mode_t mode = 0;  // permission bits only (07777)
    struct timespec modified
    {};
    bool operator==(const FolderAttributes &other) const
    {
        return mode == other.mode && modified.tv_sec == other.modified.tv_sec &&
               modified.tv_nsec == other.modified.tv_nsec;
    }
};

std::optional<QString> readFolderId(const QString &folder);
// The attributes the folder's marker records; none in a marker of an older engine.
std::optional<FolderAttributes> readFolderAttributes(const QString &folder);
// The folder's identifier, made and stored when the folder has none yet
// (drafted at a path draftPath gives, on the same drive; asked only then).
// Two engines making it at once agree on the first one written. With
// `attributes`, the marker records them too; an existing marker is
// replaced (keeping its identifier) only when it records others.
std::optional<QString> ensureFolderId(const QString &folder, const std::function<QString()> &draftPath,
                                      const std::optional<FolderAttributes> &attributes = std::nullopt);

}  // namespace Markers
