#pragma once

#include <QString>

// One flat row of the destination browser: a stored file or one of its versions.
struct FileSystemNode
{
    enum class CheckState { Off, On, Mixed };

    FileSystemNode(const QString &filePath, const QString &fileSize, const QString &modificationDate, int fileType,
                   const QString &version);

    void setSizeInBytes(quint64 bytes) { sizeInBytes = bytes; }
    void setMpcName(const QString &name) { mpcName = name; }

    QString path;
    QString name;  // the last component of the path
    QString size;  // the size as shown
    QString modificationDate;  // the date text as the index or the engine gives it
    int fileType = 0;  // 1 for a version row
    QString version;
    quint64 sizeInBytes = 0;
    QString mpcName;  // the computer folder the row belongs to
    CheckState checkState = CheckState::Off;
};
