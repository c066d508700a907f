#include "common/utility/QLUtility.h"

#include <QFile>
#include <QFileInfo>

bool QLUtility::isWritableFileAtPath(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() && info.isReadable() && info.isWritable();
}

int QLUtility::LocateCharecter(const QString &text, QChar character) { return int(text.indexOf(character)); }

bool QLUtility::isSupportedImageFile(const QString &path, const QStringList &extensions)
{
    const QString extension = QFileInfo(path).suffix().toLower();
    return !extension.isEmpty() && extensions.contains(extension);
}

bool QLUtility::isSupportedImage(const QString &path)
{
    static const QStringList kImageExtensions{"tif",  "tiff", "bmp",  "dib", "rle", "gif", "jpg",
                                              "jpeg", "jpe",  "jfif", "png", "jp2", "psd", "tga"};
    return isSupportedImageFile(path, kImageExtensions);
}

std::optional<QByteArray> QLUtility::dataWithContentsOfFile(const QString &path, qint64 offset, qint64 size)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // Never ask for more than the file still holds: the buffer is had up front.
    const qint64 remaining = file.size() - qMax<qint64>(offset, 0);
    if (remaining <= 0 || size <= 0 || !file.seek(qMax<qint64>(offset, 0)))
        return QByteArray();
    return file.read(qMin(size, remaining));
}

std::optional<QByteArray> QLUtility::dataWithContentsOfFile(const QString &path, qint64 size)
{
    return dataWithContentsOfFile(path, 0, size);
}
