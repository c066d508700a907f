#include "txruvo/ProgressLine.h"

#include "platform/ChildOutputDecoder.h"

#include <QHash>

#include <algorithm>
#include <charconv>
#include <cstring>

namespace {

// The entity of an ASCII character that must be encoded, or null.
const char *entityOf(char16_t c)
{
    switch (c) {
    case '&':
        return "&amp;";
    case '"':
        return "&quot;";
    case '<':
        return "&lt;";
    case '>':
        return "&gt;";
    case '\'':
        return "&apos;";
    default:
        return nullptr;
    }
}

bool isControl(char16_t c) { return c < 0x20 || c == 0x7F; }

// Whether a character goes into a value as it stands.
bool isPlainAscii(char16_t c) { return c < 0x80 && !isControl(c) && !entityOf(c); }

// The most bytes one UTF-16 unit of a value can take in a line: three
// UTF-8 bytes, each encoded as at most six ("&quot;").
constexpr qsizetype kBytesPerUnit = 18;

// Writes a line into room made for it beforehand, a pointer at a time: a
// line is a few dozen small pieces, and growing the array for each would
// cost more than the pieces themselves.
class Cursor
{
public:
    explicit Cursor(char *at)
        : mAt(at)
    {}
    char *position() const { return mAt; }

    template <std::size_t N>
    void literal(const char (&text)[N])
    {
        std::memcpy(mAt, text, N - 1);
        mAt += N - 1;
    }
    void number(quint64 value) { mAt = std::to_chars(mAt, mAt + 20, value).ptr; }

    // The value entity-encoded: & " < > ' and control characters. Its
    // UTF-8 (or Mac Roman) bytes pass as they are; every character encoded
    // is ASCII.
    void escaped(QByteArrayView bytes)
    {
        for (const char byte : bytes)
            escapedAscii(quint8(byte));
    }
    // The same for a text. Most values are plain ASCII: copied at once,
    // with no conversion first.
    void escaped(QStringView text)
    {
        if (!std::all_of(text.cbegin(), text.cend(), [](QChar c) { return isPlainAscii(c.unicode()); })) {
            escaped(QByteArrayView(text.toUtf8()));
            return;
        }
        mAt = std::transform(text.cbegin(), text.cend(), mAt, [](QChar c) { return char(c.unicode()); });
    }

private:
    void escapedAscii(char16_t c)
    {
        if (const char *entity = entityOf(c)) {
            const std::size_t length = std::strlen(entity);
            std::memcpy(mAt, entity, length);
            mAt += length;
        } else if (isControl(c)) {
            literal("&#");
            number(c);
            *mAt++ = ';';
        } else {
            *mAt++ = char(c);
        }
    }

    char *mAt;
};

// Makes room for at most `bytes` more at the end of `out`, answers a cursor
// there; closeRoom() then drops what was not used.
Cursor openRoom(QByteArray &out, qsizetype bytes)
{
    const qsizetype start = out.size();
    out.resize(start + bytes);
    return Cursor(out.data() + start);
}

void closeRoom(QByteArray &out, const Cursor &cursor) { out.truncate(cursor.position() - out.constData()); }

// Room for the fixed parts and numbers of a line, besides its values.
constexpr qsizetype kFixedBytes = 320;

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

QByteArray encodedName(const QString &name, bool macRoman) { return macRoman ? toMacRoman(name) : name.toUtf8(); }

// The element without its run totals, `name` given as the text or bytes to
// write for fname; answers where the totals go.
template <typename Name>
qsizetype appendElement(QByteArray &out, const ProgressLine &line, ProgressLine::Kind kind, const Name &name)
{
    const qsizetype values =
        line.transferType.size() + line.folderId.size() + line.mpc.size() + line.encName.size() + name.size();
    Cursor at = openRoom(out, kFixedBytes + values * kBytesPerUnit);
    at.literal("<file offset=\"");
    at.number(line.offset);
    at.literal("\" size=\"");
    at.number(line.size);
    at.literal("\" ");
    const qsizetype totalsAt = at.position() - out.constData();
    at.literal("remain_time=\"0\" trf_type=\"");
    at.escaped(line.transferType);
    if (kind == ProgressLine::Kind::Backup) {
        at.literal("\" folder_id=\"");
        at.escaped(line.folderId);
        at.literal("\" mpc=\"");
        at.escaped(line.mpc);
        at.literal("\" enc_name=\"");
        at.escaped(line.encName);
    }
    at.literal("\" file_ver=\"");
    at.number(quint64(line.fileVersion));
    at.literal("\" fname=\"");
    at.escaped(name);
    at.literal("\"/>");
    closeRoom(out, at);
    return totalsAt;
}

}  // namespace

QString escapeAttribute(const QString &value)
{
    QByteArray escaped;
    Cursor at = openRoom(escaped, value.size() * kBytesPerUnit);
    at.escaped(value);
    closeRoom(escaped, at);
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
    Cursor at = openRoom(out, kFixedBytes + totals.rate.size() * kBytesPerUnit);
    at.literal("tottrf_sz=\"");
    at.number(totals.transferred);
    at.literal("\" tot_sz=\"");
    at.number(totals.runTotal);
    at.literal("\" cum_size=\"");
    at.number(totals.skipped);
    at.literal("\" per=\"");
    at.number(quint64(totals.percent));
    at.literal("\" rate_trf=\"");
    at.escaped(QByteArrayView(totals.rate));
    at.literal("\" ");
    closeRoom(out, at);
}

QByteArray ProgressLine::toBracketRow(Kind kind, bool macRomanName) const
{
    QStringList columns = {QString::number(offset),
                           QString::number(size),
                           QString::number(transferred),
                           QString::number(runTotal),
                           QString::number(skipped),
                           QString::number(percent),
                           rate,
                           QStringLiteral("0"),
                           transferType};
    if (kind == Kind::Backup)
        columns << folderId << mpc << encName;
    QByteArray row;
    for (const QString &column : columns)
        row += '[' + column.toUtf8() + ']';
    return row + '[' + encodedName(fileName, macRomanName) + ']';
}
