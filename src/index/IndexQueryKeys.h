#pragma once

#include <QString>

// The dictionaries the index's queries take and answer with, as the product
// names their keys and values: the key search, a rename and a folder's properties.
namespace IndexQueryKeys {

// The key search (TXDatabaseWrapper::searchForKeyInsidePath).
inline const QString kSearchKey = QStringLiteral("SearchKey");
inline const QString kPathRootForSearch = QStringLiteral("PathRootForSearch");

// A rename: its paths, and the answer's status with its reason.
inline const QString kOriginalPath = QStringLiteral("OriginalPath");
inline const QString kRenamedPath = QStringLiteral("RenamedPath");
inline const QString kErrorDesc = QStringLiteral("ErrorDesc");

// A folder's properties: its total size, its file count and the status, or
// the reason it could not be read.
inline const QString kFolderSize = QStringLiteral("fileSize");
inline const QString kFileCount = QStringLiteral("FileCount");
inline const QString kErrorMssg = QStringLiteral("ErrorMssg");

// The status of a rename or of the properties, and its values.
inline const QString kStatus = QStringLiteral("Status");
inline const QString kSuccess = QStringLiteral("Success");
inline const QString kFailure = QStringLiteral("Failure");

}  // namespace IndexQueryKeys
