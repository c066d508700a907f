#pragma once

#include <QString>
#include <QVariantMap>

// The message a folder-size result is shown with.
namespace FolderSizeRules {

inline const QString kMaintenanceText = QStringLiteral("Your account is under maintenance. Try later.");
inline const QString kUnavailableText =
    QStringLiteral("Unable to retrieve the file size at this moment. Try again later. ");
inline const QString kWithCountText = QStringLiteral("Size of folder '%@'  is %@\nContains: %@ files");
inline const QString kWithoutCountText = QStringLiteral("Size of folder '%@'  is %@.");
inline const QString kFailedText = QStringLiteral("Unable to fetch folder size. Try later.");

// result: "fileSize" (bytes, or kilobytes without "FileCount"; -2 under maintenance,
// -1 not available) and "FileCount". The folder is named by its last path component.
//   ("Office/docs", {fileSize 1536, FileCount 3}) -> "Size of folder 'docs'  is 1.5 KB\nContains: 3 files"
QString message(const QString &folderPath, const QVariantMap &result);

}  // namespace FolderSizeRules
