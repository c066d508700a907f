#pragma once

#include <QString>
#include <QStringList>

// The engine keeps its bookkeeping beside the items it stores, told apart
// by name alone: item and folder markers end in "_.chk", thumbnails in
// "_THINT", "_THSML", "_THTIN" or "_THVID", and the engine's own files and
// folders start with ".txruvo-" (letter case ignored throughout). A user's
// file or folder whose name has one of those forms, or ends in the escape
// "_.usr" itself, is stored under its name followed by "_.usr" and gets its
// own name back when restored, so user data and bookkeeping never meet.
namespace StoredNames {

inline constexpr char kEscapeSuffix[] = "_.usr";

// The suffixes of an item's thumbnails: "_THINT", "_THSML", "_THTIN", "_THVID".
const QStringList &thumbnailSuffixes();
// The item name a thumbnail's name belongs to ("a.jpg_THINT" -> "a.jpg"), or
// "" when the name is no item's thumbnail.
QString thumbnailOwner(const QString &thumbnailName);

// Whether a name found on the drive is the engine's bookkeeping, not an item.
bool isBookkeeping(const QString &storedName);
// Whether a user's name must be escaped to be stored.
bool needsEscape(const QString &userName);
// The name a user's file or folder is stored under.
QString escaped(const QString &userName);
// The user's own name of a stored item.
QString unescaped(const QString &storedName);

}  // namespace StoredNames
