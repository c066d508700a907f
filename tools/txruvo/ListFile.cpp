#include "txruvo/ListFile.h"

#include <QFile>
#include <QUtf8StringView>

std::optional<QList<ListEntry>> readListFile(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return std::nullopt;
    }
    QList<ListEntry> entries;
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (line.isEmpty())
            continue;
        entries << ListEntry{QString::fromUtf8(line), QUtf8StringView(line).isValidUtf8()};
    }
    return entries;
}
