#pragma once

#include <QString>
#include <QStringList>

// The thumbnails kept on the drive beside an image (three) or a video (four
// with _THVID) are named after it with these suffixes; renaming or deleting the
// item renames or deletes them too.
namespace ThumbnailSuffixes {

inline const QString kLarge = QStringLiteral("_THINT");
inline const QString kSmall = QStringLiteral("_THSML");
inline const QString kTiny = QStringLiteral("_THTIN");
inline const QString kVideo = QStringLiteral("_THVID");

inline QStringList ofImage() { return {kLarge, kSmall, kTiny}; }
inline QStringList all() { return {kLarge, kSmall, kTiny, kVideo}; }

}  // namespace ThumbnailSuffixes
