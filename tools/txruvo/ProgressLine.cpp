#include "txruvo/ProgressLine.h"

#include "platform/ChildOutputDecoder.h"

#include <QHash>

namespace {

// Mac Roman bytes of a text; characters it lacks become "?".
QByteArray toMacRoman(const QString &text)
{
    static const QHash<char16_t, char> table = [] {
        QHash<char16_t, char> inverse;
        for (int byte = 0x80; byte <= 0xFF; ++byte) {
            const QString decoded = decodeChildOutput(QByteArray(1, char(byte)));
            if (decoded.size() == 1)
                inverse.insert(decoded.at(0).unicode(), char(byte));
        }
        return inverse;
    }();
    QByteArray bytes;
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            bytes += char(c.unicode());
        else
            bytes += table.value(c.unicode(), '?');
    }
    return bytes;
}

QByteArray encodedName(const QString &name, bool macRoman)
{
    return macRoman ? toMacRoman(name) : name.toUtf8();
}

}  // namespace

QString escapeAttribute(const QString &value)
{
    QString escaped;
    escaped.reserve(value.size() + value.size() / 4);
    for (const QChar c : value) {
        switch (c.unicode()) {
        case '&': escaped += QLatin1String("&amp;"); break;
        case '"': escaped += QLatin1String("&quot;"); break;
        case '<': escaped += QLatin1String("&lt;"); break;
        case '>': escaped += QLatin1String("&gt;"); break;
        case '\'': escaped += QLatin1String("&apos;"); break;
        default:
            if (c.unicode() < 0x20 || c.unicode() == 0x7F)
                escaped += QStringLiteral("&#%1;").arg(c.unicode());
            else
                escaped += c;
        }
    }
    return escaped;
}

QString formatRate(double bytesPerSecond)
{
    const double kilo = bytesPerSecond / 1024.0;
    if (kilo < 1024.0)
        return QString::asprintf("%.2f kB/s", kilo);
    if (kilo < 1024.0 * 1024.0)
        return QString::asprintf("%.2f MB/s", kilo / 1024.0);
    return QString::asprintf("%.2f GB/s", kilo / (1024.0 * 1024.0));
}

QByteArray ProgressLine::toElement(Kind kind, bool macRomanName) const
{
    QString text = QStringLiteral("<file offset=\"%1\" size=\"%2\" tottrf_sz=\"%3\" tot_sz=\"%4\" cum_size=\"%5\" "
                                  "per=\"%6\" rate_trf=\"%7\" remain_time=\"0\" trf_type=\"%8\" ")
                       .arg(offset).arg(size).arg(transferred).arg(runTotal).arg(skipped).arg(percent)
                       .arg(escapeAttribute(rate), escapeAttribute(transferType));
    if (kind == Kind::Backup) {
        text += QStringLiteral("folder_id=\"%1\" mpc=\"%2\" enc_name=\"%3\" ")
                    .arg(escapeAttribute(folderId), escapeAttribute(mpc), escapeAttribute(encName));
    }
    text += QStringLiteral("file_ver=\"%1\" fname=\"").arg(fileVersion);
    return text.toUtf8() + encodedName(escapeAttribute(fileName), macRomanName) + "\"/>";
}

QByteArray ProgressLine::toBracketRow(Kind kind, bool macRomanName) const
{
    QStringList columns = {QString::number(offset), QString::number(size), QString::number(transferred),
                           QString::number(runTotal), QString::number(skipped), QString::number(percent),
                           rate, QStringLiteral("0"), transferType};
    if (kind == Kind::Backup)
        columns << folderId << mpc << encName;
    QByteArray row;
    for (const QString &column : columns)
        row += '[' + column.toUtf8() + ']';
    return row + '[' + encodedName(fileName, macRomanName) + ']';
}
