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
    const QByteArray content = file.readAll();
    QList<ListEntry> entries;
    entries.reserve(content.count('\n') + 1);
    for (qsizetype start = 0; start < content.size();) {
        qsizetype end = content.indexOf('\n', start);
        if (end < 0)
            end = content.size();
        if (end > start) {
            const QUtf8StringView line(content.constData() + start, end - start);
            entries.append(ListEntry{line.toString(), line.isValidUtf8()});
        }
        start = end + 1;
    }
    return entries;
}
