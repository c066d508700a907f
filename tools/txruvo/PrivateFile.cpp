#include "txruvo/PrivateFile.h"

#include <QFile>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

#include <sys/stat.h>

bool PrivateFile::write(const QString &path, const QByteArray &content, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner) ||
        file.write(content) != content.size() || !file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

std::optional<QString> PrivateFile::read(const QString &path, QString *error)
{
    struct stat status
    {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0) {
        *error = QString::fromLocal8Bit(strerror(errno));
        return std::nullopt;
    }
    if (status.st_mode & (S_IRWXG | S_IRWXO)) {
        *error = QStringLiteral("readable by other users");
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return std::nullopt;
    }
    QString value = QString::fromUtf8(file.readAll());
    while (value.endsWith('\n') || value.endsWith('\r'))
        value.chop(1);
    return value;
}
