#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

// One item of the drive's index as the listing, search and lookup queries
// deliver it to the browser, the delete and the restore. A listing gives its
// folders (name and type) and its files (name, type, date, size, versions); a
// search or lookup gives files with every field. A field a query does not
// read stays empty.
struct IndexEntry
{
    // The keys that name these fields wherever they stand in a dictionary
    // (a re-index record names the fields it shares with an entry so).
    static inline const QString kFileNameKey = QStringLiteral("FileName");
    static inline const QString kFileTypeKey = QStringLiteral("FileType");
    static inline const QString kFileModificationDateKey = QStringLiteral("FileModificationDate");
    static inline const QString kFileSizeKey = QStringLiteral("FileSize");
    static inline const QString kVersionInfoKey = QStringLiteral("VersionInfo");
    static inline const QString kFolderIDKey = QStringLiteral("folderID");
    static inline const QString kEncFilenameKey = QStringLiteral("encFilename");
    static inline const QString kMpcNameKey = QStringLiteral("mpcName");

    enum class Type
    {
        Folder,
        File
    };  // "FileType" "D" and "F"

    // A listing's child: a folder's stored path with its trailing "/"
    // (/Office/Users/ann/sub/) or a file's name (a.txt). A search's or a
    // lookup's file: its index path (/Office/Users/ann/a.txt).
    QString fileName;
    Type fileType = Type::File;
    QString fileModificationDate;  // as the index stores it: "2014-05-06 10:11:12 +0000"
    quint64 fileSize = 0;
    int versionInfo = 0;  // the stored version's number
    // Where the engine keeps the file: "<mpcName>/<folderID>/<encFilename>"
    // in backup mode, "/<folderID>/<encFilename>" in sync mode.
    QString folderID;
    QString encFilename;
    QString mpcName;

    bool isFolder() const { return fileType == Type::Folder; }
    bool operator==(const IndexEntry &) const = default;
};

using IndexEntries = QList<IndexEntry>;
