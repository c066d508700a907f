#include "common/logging/LogFile.h"

#include "common/files/DirectiryCreation.h"

#include <QFile>
#include <QFileInfo>
#include <QtDebug>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool LogFile::writeToFile(const QString &path, const QString &text)
{
    if (text.isEmpty() || path.isEmpty())
        return false;
    if (QFileInfo(path).isRelative()) {
        qWarning().noquote() << "log not written to a relative path:" << path;
        return false;
    }
    Directiry_Creation::createPrivateDirectoryHierarchyAtPath(QFileInfo(path).absolutePath());

    const QByteArray bytes = text.toUtf8();
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0) {
        qWarning().noquote() << "log not written:" << path << strerror(errno);
        return false;
    }
    // A log written before by a looser version is closed to others as well.
    ::fchmod(fd, 0600);
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + written, size_t(bytes.size() - written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        written += n;
    }
    ::close(fd);
    return written == bytes.size();
}

QString LogFile::readFileTail(const QString &path, qsizetype maxCharacters)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("");
    const QString text = QString::fromUtf8(file.readAll());
    return text.size() <= maxCharacters ? text : text.right(maxCharacters);
}
