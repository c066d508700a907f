#include "platform/ItemRemoval.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

void ItemRemoval::removeItemRecursively(const QString &path)
{
    const QFileInfo info(path);
    if (info.isSymLink() || !info.isDir())
        QFile::remove(path);
    else
        QDir(path).removeRecursively();
}
