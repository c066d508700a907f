#include "index/manager/IndexSpillFile.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QUuid>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr quint32 kFormat = 1;

// Each file: its local path, its relative path (null when none) and its record.
void writeFiles(QDataStream &out, const BackedUpFiles &files)
{
    out << quint64(files.records.size());
    for (auto entry = files.records.cbegin(); entry != files.records.cend(); ++entry) {
        const StoredFileRecord &record = entry.value();
        out << entry.key() << files.relativePaths.value(entry.key()) << record.versionNumber << record.folderId
            << record.mpcName << record.encFilename << record.size << record.modificationTime;
    }
}

BackedUpFiles readFiles(QDataStream &in)
{
    BackedUpFiles files;
    quint64 count = 0;
    in >> count;
    for (quint64 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
        QString path;
        QString relativePath;
        StoredFileRecord record;
        in >> path >> relativePath >> record.versionNumber >> record.folderId >> record.mpcName >> record.encFilename >>
            record.size >> record.modificationTime;
        if (!relativePath.isNull())
            files.relativePaths.insert(path, relativePath);
        files.records.insert(path, record);
    }
    return files;
}

}  // namespace

std::optional<QString> IndexSpillFile::write(const QString &folder, const BackedUpFiles &files)
{
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return std::nullopt;
    const QString path = QDir(folder).filePath(QUuid::createUuid().toString(QUuid::WithoutBraces) + ".spill");
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return std::nullopt;
    QFile file;
    if (!file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        QFile::remove(path);
        return std::nullopt;
    }
    QDataStream out(&file);
    out << kFormat;
    writeFiles(out, files);
    const bool written = out.status() == QDataStream::Ok && file.flush();
    file.close();
    if (!written) {
        QFile::remove(path);
        return std::nullopt;
    }
    return path;
}

std::optional<BackedUpFiles> IndexSpillFile::take(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QDataStream in(&file);
    quint32 format = 0;
    BackedUpFiles files;
    in >> format;
    if (format == kFormat)
        files = readFiles(in);
    const bool read = format == kFormat && in.status() == QDataStream::Ok;
    file.close();
    QFile::remove(path);
    if (!read)
        return std::nullopt;
    return files;
}
