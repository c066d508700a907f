#include "txruvo/ProgressLine.h"

#include "platform/ChildOutputDecoder.h"

#include <QHash>

#include <algorithm>
#include <charconv>

namespace {

// Appends one ASCII character entity-encoded when it must be; answers
// whether it was ASCII at all.
bool appendEscapedAscii(QByteArray &out, char16_t c)
{
    switch (c) {
    case '&': out += "&amp;"; return true;
    case '"': out += "&quot;"; return true;
    case '<': out += "&lt;"; return true;
    case '>': out += "&gt;"; return true;
    case '\'': out += "&apos;"; return true;
    default:
        if (c < 0x20 || c == 0x7F) {
            out += "&#" + QByteArray::number(int(c)) + ';';
            return true;
        }
        if (c >= 0x80)
            return false;
        out += char(c);
        return true;
    }
}

// Whether a character goes into a value as it stands.
bool isPlainAscii(char16_t c)
{
    return c >= 0x20 && c < 0x7F && c != '&' && c != '"' && c != '<' && c != '>' && c != '\'';
}

// Appends the value entity-encoded: & " < > ' and control characters. The
// value's UTF-8 (or Mac Roman) bytes pass as they are; every character
// encoded is ASCII.
void appendEscaped(QByteArray &out, const QByteArray &value)
{
    for (const char byte : value) {
        if (!appendEscapedAscii(out, quint8(byte)))
            out += byte;
    }
}

// The same for a text. Most values are plain ASCII: copied at once, with no
// conversion first.
void appendEscaped(QByteArray &out, const QString &value)
{
    if (!std::all_of(value.cbegin(), value.cend(), [](QChar c) { return isPlainAscii(c.unicode()); })) {
        appendEscaped(out, value.toUtf8());
        return;
    }
    const qsizetype start = out.size();
    out.resize(start + value.size());
    std::transform(value.cbegin(), value.cend(), out.data() + start, [](QChar c) { return char(c.unicode()); });
}

// Appends `key="value"`, the value entity-encoded.
template <typename Value>
void appendAttribute(QByteArray &out, const char *key, const Value &value)
{
    out += key;
    out += "=\"";
    appendEscaped(out, value);
    out += '"';
}

void appendNumber(QByteArray &out, const char *key, quint64 value)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out += key;
    out += "=\"";
    out.append(digits, end - digits);
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

// The element without its run totals, `name` given as the text or bytes to
// write for fname; answers where the totals go.
template <typename Name>
qsizetype appendElement(QByteArray &out, const ProgressLine &line, ProgressLine::Kind kind, const Name &name)
{
    out += "<file ";
    appendNumber(out, "offset", line.offset);
    appendNumber(out, "size", line.size);
    const qsizetype totalsAt = out.size();
    out += "remain_time=\"0\" ";
    appendAttribute(out, "trf_type", line.transferType);
    if (kind == ProgressLine::Kind::Backup) {
        appendAttribute(out += ' ', "folder_id", line.folderId);
        appendAttribute(out += ' ', "mpc", line.mpc);
        appendAttribute(out += ' ', "enc_name", line.encName);
    }
    appendNumber(out += ' ', "file_ver", quint64(line.fileVersion));
    appendAttribute(out, "fname", name);
    out += "/>";
    return totalsAt;
}

}  // namespace

QString escapeAttribute(const QString &value)
{
    QByteArray escaped;
    escaped.reserve(value.size() + value.size() / 4);
    appendEscaped(escaped, value);
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
    QByteArray element;
    element.reserve(320 + fileName.size() * 3);
    const qsizetype totalsAt = macRomanName ? appendElement(element, *this, kind, toMacRoman(fileName))
                                            : appendElement(element, *this, kind, fileName);
    QByteArray totals;
    appendTotals(totals, {transferred, runTotal, skipped, percent, rate.toUtf8()});
    return element.insert(totalsAt, totals);
}

qsizetype ProgressLine::appendElementWithoutTotals(QByteArray &out, Kind kind) const
{
    return appendElement(out, *this, kind, fileName);
}

void ProgressLine::appendTotals(QByteArray &out, const Totals &totals)
{
    appendNumber(out, "tottrf_sz", totals.transferred);
    appendNumber(out, "tot_sz", totals.runTotal);
    appendNumber(out, "cum_size", totals.skipped);
    appendNumber(out, "per", quint64(totals.percent));
    appendAttribute(out, "rate_trf", totals.rate);
    out += ' ';
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
