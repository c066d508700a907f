#include "txruvo/ArgvLog.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <fcntl.h>
#include <unistd.h>

void ArgvLog::append(const QStringList &argv)
{
    const QByteArray path = qgetenv(kEnvironmentVariable);
    if (path.isEmpty())
        return;
    const QJsonObject entry{{QStringLiteral("argv"), QJsonArray::fromStringList(argv)}};
    const QByteArray line = QJsonDocument(entry).toJson(QJsonDocument::Compact) + '\n';
    // One append per run, so runs of two engines at once never interleave.
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0)
        return;
    [[maybe_unused]] const ssize_t written = ::write(fd, line.constData(), size_t(line.size()));
    ::close(fd);
}
