#include "common/transfer/FileSystemNode.h"

FileSystemNode::FileSystemNode(const QString &filePath, const QString &fileSize, const QString &modificationDate,
                               int fileType, const QString &version)
    : path(filePath),
      name(filePath.section('/', -1, -1, QString::SectionSkipEmpty)),
      size(fileSize),
      modificationDate(modificationDate),
      fileType(fileType),
      version(version)
{
}
