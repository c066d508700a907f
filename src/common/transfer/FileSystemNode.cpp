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

// "/a/b.txt" gives "b.txt", a folder's "/a/b/" gives "b". Read directly: a search makes a row for every file found.
QString lastComponent(const QString &path)
{
    qsizetype end = path.size();
    while (end > 0 && path.at(end - 1) == u'/')
        --end;
    if (end == 0)
        return {};
    const qsizetype start = path.lastIndexOf(u'/', end - 1) + 1;
    return end == path.size() && start == 0 ? path : path.mid(start, end - start);
}

}  // namespace

FileSystemNode::FileSystemNode(const QString &filePath, const QString &fileSize, const QString &modificationDate,
                               bool isAFile, const QString &version)
    : path(filePath)
    , name(lastComponent(filePath))
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
