#pragma once

#include <QString>

// One flat row of the destination browser: a stored file or folder found by a
// search, or one version of a file.
struct FileSystemNode
{
    enum class CheckState
    {
        Off,
        On,
        Mixed
    };

    FileSystemNode(const QString &filePath, const QString &fileSize, const QString &modificationDate, bool isAFile,
                   const QString &version);

    void setSizeInBytes(quint64 bytes) { sizeInBytes = bytes; }
    void setMpcName(const QString &name) { mpcName = name; }
    void setEncFileName(const QString &name) { encFileName = name; }
    void setFolderID(const QString &id) { folderID = id; }

    // The order of the search results: by the parent folders' paths, plain and
    // case-sensitive; rows of one folder compare equal (0), so a stable sort keeps their order.
    int compareParentFolderPath(const FileSystemNode &other) const;
    // By kind alone: a file before a folder; two rows of one kind compare equal.
    int compare(const FileSystemNode &other) const;

    QString path;
    QString name;              // the last component of the path
    QString size;              // the size as shown
    QString modificationDate;  // the date text as the index or the engine gives it
    bool isAFile = true;       // a version row is a file
    QString version;
    quint64 sizeInBytes = 0;
    QString mpcName;      // the computer folder the row belongs to
    QString encFileName;  // the item's scrambled name on the drive
    QString folderID;     // the identifier of the item's folder on the drive
    CheckState checkState = CheckState::Off;
};
