#include "platform/MachineFacts.h"

#include <QFile>
#include <QSysInfo>
#include <QVersionNumber>

namespace MachineFacts {
namespace {

QString firstLineOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readLine()).trimmed();
}

// PRETTY_HOSTNAME=value, the value possibly quoted (a shell-style assignment).
QString prettyHostName()
{
    QFile file(QStringLiteral("/etc/machine-info"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    static const QByteArray kKey = "PRETTY_HOSTNAME=";
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (!line.startsWith(kKey))
            continue;
        QString value = QString::fromUtf8(line.mid(kKey.size()));
        if (value.size() >= 2 && (value.startsWith('"') || value.startsWith('\'')) && value.endsWith(value.at(0)))
            value = value.mid(1, value.size() - 2);
        return value;
    }
    return {};
}

}  // namespace

QString machineId()
{
    for (const char *path : {"/etc/machine-id", "/var/lib/dbus/machine-id"}) {
        const QString id = firstLineOf(QLatin1String(path));
        if (!id.isEmpty())
            return id;
    }
    return {};
}

QString computerName()
{
    const QString configured = qEnvironmentVariable("TX_COMPUTER_NAME");
    if (!configured.isEmpty())
        return configured;
    const QString pretty = prettyHostName();
    return pretty.isEmpty() ? QSysInfo::machineHostName() : pretty;
}

QString systemVersion()
{
    const QVersionNumber version = QVersionNumber::fromString(QSysInfo::productVersion());
    return QStringLiteral("%1.%2").arg(version.majorVersion()).arg(version.minorVersion());
}

}  // namespace MachineFacts
