#include "txruvo/ListFile.h"

#include <QFile>
#include <QUtf8StringView>

std::optional<ListFile> ListFile::read(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return std::nullopt;
    }
    const QByteArray content = file.readAll();
    const bool allValid = QUtf8StringView(content).isValidUtf8();
    ListFile list;
    list.mText = QString::fromUtf8(content);
    list.mEntries.reserve(content.count('\n') + 1);
    // The bytes (to check each line's UTF-8 when some are bad) and the text
    // are cut at the same line breaks: a replaced sequence never takes a
    // line break with it.
    qsizetype byteStart = 0;
    qsizetype textStart = 0;
    while (textStart < list.mText.size()) {
        qsizetype byteEnd = content.indexOf('\n', byteStart);
        qsizetype textEnd = list.mText.indexOf(u'\n', textStart);
        if (textEnd < 0) {
            byteEnd = content.size();
            textEnd = list.mText.size();
        }
        if (textEnd > textStart) {
            const bool valid = allValid || QUtf8StringView(content.constData() + byteStart, byteEnd - byteStart).isValidUtf8();
            list.mEntries.append(
                ListEntry{QString::fromRawData(list.mText.constData() + textStart, textEnd - textStart), valid});
        }
        byteStart = byteEnd + 1;
        textStart = textEnd + 1;
    }
    return list;
}
