#include "common/files/TextFile.h"

#include "common/files/DirectiryCreation.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace TextFile {

bool write(const QString &path, const QString &text, QFileDevice::Permissions mode)
{
    const QFileInfo info(path);
    if (path.isEmpty() || info.isRelative() ||
        !Directiry_Creation::createPrivateDirectoryHierarchyAtPath(info.absolutePath()))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !file.setPermissions(mode))
        return false;
    const QByteArray bytes = text.toUtf8();
    return file.write(bytes) == bytes.size() && file.commit();
}

std::optional<QString> read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return QString::fromUtf8(file.readAll());
}

}  // namespace TextFile
