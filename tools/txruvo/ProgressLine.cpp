#include "txruvo/ProgressLine.h"

#include "platform/ChildOutputDecoder.h"

#include <QHash>

namespace {

// Appends the value entity-encoded: & " < > ' and control characters. The
// value's UTF-8 (or Mac Roman) bytes pass as they are; every character
// encoded is ASCII.
void appendEscaped(QByteArray &out, const QByteArray &value)
{
    for (const char byte : value) {
        switch (byte) {
        case '&': out += "&amp;"; break;
        case '"': out += "&quot;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '\'': out += "&apos;"; break;
        default:
            if ((quint8(byte) < 0x20 || byte == 0x7F))
                out += "&#" + QByteArray::number(int(byte)) + ';';
            else
                out += byte;
        }
    }
}

// Appends `key="value"`, the value entity-encoded.
void appendAttribute(QByteArray &out, const char *key, const QByteArray &value)
{
    out += key;
    out += "=\"";
    appendEscaped(out, value);
    out += '"';
}

void appendNumber(QByteArray &out, const char *key, quint64 value)
{
    out += key;
    out += "=\"";
    out += QByteArray::number(value);
    out += "\" ";
}

// Mac Roman bytes of a text; characters it lacks become "?".
QByteArray toMacRoman(const QString &text)
{
    static const QHash<char16_t, char> table = [] {
        QHash<char16_t, char> inverse;
        for (int byte = 0x80; byte <= 0xFF; ++byte) {
            const QString decoded = ChildOutputDecoder::decodeChildOutput(QByteArray(1, char(byte)));
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
    QByteArray escaped;
    escaped.reserve(value.size() + value.size() / 4);
    appendEscaped(escaped, value.toUtf8());
    return QString::fromUtf8(escaped);
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
    const ElementParts parts = toElementParts(kind, macRomanName);
    return parts.head + totalsAttributes() + parts.tail;
}

ProgressLine::ElementParts ProgressLine::toElementParts(Kind kind, bool macRomanName) const
{
    ElementParts parts;
    parts.head.reserve(48);
    parts.head += "<file ";
    appendNumber(parts.head, "offset", offset);
    appendNumber(parts.head, "size", size);
    QByteArray &tail = parts.tail;
    tail.reserve(160 + fileName.size() * 3);
    tail += "remain_time=\"0\" ";
    appendAttribute(tail, "trf_type", transferType.toUtf8());
    if (kind == Kind::Backup) {
        appendAttribute(tail += ' ', "folder_id", folderId.toUtf8());
        appendAttribute(tail += ' ', "mpc", mpc.toUtf8());
        appendAttribute(tail += ' ', "enc_name", encName.toUtf8());
    }
    appendNumber(tail += ' ', "file_ver", quint64(fileVersion));
    appendAttribute(tail, "fname", encodedName(fileName, macRomanName));
    tail += "/>";
    return parts;
}

QByteArray ProgressLine::totalsAttributes() const
{
    QByteArray totals;
    totals.reserve(96);
    appendNumber(totals, "tottrf_sz", transferred);
    appendNumber(totals, "tot_sz", runTotal);
    appendNumber(totals, "cum_size", skipped);
    appendNumber(totals, "per", quint64(percent));
    appendAttribute(totals, "rate_trf", rate.toUtf8());
    return totals + ' ';
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
