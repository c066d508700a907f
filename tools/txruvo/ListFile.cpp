#include "txruvo/ListFile.h"

#include <QFile>
#include <QStringDecoder>

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
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        ListEntry entry;
        entry.text = decoder.decode(line);
        entry.validUtf8 = !decoder.hasError();
        entries << entry;
    }
    return entries;
}
