#include "common/transfer/FileSystemNode.h"

namespace {

// The path without its last component, as "/a/b/" and "/a/b" both give "/a".
QString parentFolderPath(QString path)
{
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    const qsizetype slash = path.lastIndexOf(u'/');
    return slash < 0 ? QString() : slash == 0 ? QStringLiteral("/") : path.left(slash);
}

}  // namespace

FileSystemNode::FileSystemNode(const QString &filePath, const QString &fileSize, const QString &modificationDate,
                               bool isAFile, const QString &version)
    : path(filePath)
    , name(filePath.section('/', -1, -1, QString::SectionSkipEmpty))
    , size(fileSize)
    , modificationDate(modificationDate)
    , isAFile(isAFile)
    , version(version)
{}

int FileSystemNode::compareParentFolderPath(const FileSystemNode &other) const
{
    return QString::compare(parentFolderPath(path), parentFolderPath(other.path), Qt::CaseSensitive);
}

int FileSystemNode::compare(const FileSystemNode &other) const
{
    return isAFile == other.isAFile ? 0 : isAFile ? -1 : 1;
}
