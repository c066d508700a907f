#include "engine/parsing/QLSYNCParser.h"

#include <algorithm>
#include <array>

namespace {

// Built before main() runs, so no parse on any thread can see them half made.
const std::array<QStringList, 10> kColumnLists = {{
    {"offset", "size", "tottrf_sz", "tot_sz", "cum_size", "per", "rate_trf", "remain_time", "trf_type", "folder_id",
     "mpc", "enc_name", "fname"},
    {"mod_time", "size", "file_ver", "in_trash", "fname"},
    {"perm", "size", "file_ver", "mod_time", "fname"},
    {"mod_time", "size", "ver"},
    {"op", "fname"},
    {"quota_used", "files_count"},
    {"folder_size", "files_count"},
    {"offset", "size", "tottrf_sz", "tot_sz", "cum_size", "per", "rate_trf", "remain_time", "trf_type", "fname"},
    {"mod_time", "size", "file_ver", "in_trash", "fname", "index", "fnameOld"},
    {"perm", "size", "mod_time", "fname"},
}};

// A column's value: the text after the piece's first "[", or the whole piece.
QString columnValue(const QString &piece)
{
    const qsizetype bracket = piece.indexOf(u'[');
    return bracket < 0 ? piece : piece.mid(bracket + 1);
}

}  // namespace

int QLSYNCParser::ParseLineStr(const QString &line, DataHandler &handler, int outputType)
{
    handler.ClearData();
    if (line.size() < 2)
        return TooShort;
    if (line.front() == u'[') {
        const QStringList columns = HeadderForType(outputType);
        return columns.isEmpty() ? TooShort : FlatParseStringData(line, handler, columns);
    }
    if (line.front() == u'<')
        return xmlParseStringData(line, handler);
    return NotALine;
}

QStringList QLSYNCParser::HeadderForType(int outputType)
{
    if (outputType < 0 || outputType >= int(kColumnLists.size()))
        return {};
    return kColumnLists[outputType];
}

int QLSYNCParser::FlatParseStringData(const QString &line, DataHandler &handler, const QStringList &columns)
{
    const QStringList pieces = line.split(u']', Qt::SkipEmptyParts);
    if (pieces.size() < columns.size())
        return TooShort;

    const qsizetype last = columns.size() - 1;
    for (qsizetype i = 0; i < last; ++i)
        handler.Data(columnValue(pieces[i]), columns[i]);

    QString lastValue = columnValue(pieces[last]);
    for (qsizetype i = last + 1; i < pieces.size(); ++i)
        lastValue += u']' + pieces[i];
    handler.Data(lastValue, columns[last]);
    return Parsed;
}

qsizetype QLSYNCParser::LocateNextDataLocation(QStringView line, qsizetype start)
{
    if (start >= line.size())
        return -1;
    const QStringView rest = line.mid(start);
    if (rest.startsWith(u'>') || rest.startsWith(u"/>"))
        return 0;

    bool inQuotes = false;
    for (qsizetype i = start; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c == u'"')
            inQuotes = !inQuotes;
        else if (!inQuotes && (c == u' ' || (c == u'/' && i + 1 < line.size() && line[i + 1] == u'>')))
            return i + 1;
    }
    return line.size() + 1;
}

bool QLSYNCParser::ExtractData(QStringView segment, QStringView &key, QStringView &value)
{
    const qsizetype equals = segment.indexOf(u'=');
    if (equals < 0)
        return false;
    // key, "=", two quotes and the stop character
    if (segment.size() < equals + 4)
        return false;
    key = segment.left(equals);
    value = segment.mid(equals + 2, segment.size() - equals - 4);
    return true;
}

int QLSYNCParser::xmlParseStringData(const QString &line, DataHandler &handler)
{
    // Thousands of lines come in one read: the segments are views into the
    // line, and only the values a record keeps are copied.
    qsizetype start = 0;
    for (;;) {
        const qsizetype next = LocateNextDataLocation(line, start);
        if (next < 1 || next > line.size())
            break;
        QStringView key;
        QStringView value;
        if (ExtractData(QStringView(line).mid(start, next - start), key, value))
            handler.Data(QLSYNCParser_Private::stringByDecodingXMLEntities(value),
                         QString::fromRawData(key.data(), key.size()));
        start = next;
    }
    return Parsed;
}

namespace QLSYNCParser_Private {

namespace {

struct NamedEntity
{
    QStringView text;
    QChar character;
};

constexpr std::array<NamedEntity, 5> kNamedEntities = {{
    {u"&amp;", u'&'},
    {u"&apos;", u'\''},
    {u"&quot;", u'"'},
    {u"&lt;", u'<'},
    {u"&gt;", u'>'},
}};

bool isNumberDigit(QChar c, bool hex)
{
    return c.isDigit() ? c.unicode() < 128 : hex && QStringLiteral("abcdefABCDEF").contains(c);
}

bool isUnicodeScalar(char32_t code) { return code > 0 && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF); }

// Decodes a numeric entity at "&#" when digits follow: appends the character and
// returns the position after it (and one ";"), or 0 when there are no digits.
// A code that is no Unicode character is kept as written.
qsizetype decodeNumericEntity(QStringView text, qsizetype amp, QString &out)
{
    const bool hex = amp + 2 < text.size() && text[amp + 2] == u'x';
    const qsizetype digitsStart = amp + (hex ? 3 : 2);
    qsizetype end = digitsStart;
    while (end < text.size() && isNumberDigit(text[end], hex))
        ++end;
    if (end == digitsStart)
        return 0;

    bool ok = false;
    const qulonglong code = text.mid(digitsStart, end - digitsStart).toULongLong(&ok, hex ? 16 : 10);
    const qsizetype after = end < text.size() && text[end] == u';' ? end + 1 : end;
    if (ok && code <= 0x10FFFF && isUnicodeScalar(char32_t(code))) {
        const char32_t character = char32_t(code);
        out += QString::fromUcs4(&character, 1);
    } else {
        out += text.mid(amp, after - amp);
    }
    return after;
}

}  // namespace

QString stringByDecodingXMLEntities(QStringView text)
{
    if (!text.contains(u'&'))
        return text.toString();

    QString out;
    out.reserve(text.size() + text.size() / 4);
    qsizetype position = 0;
    while (position < text.size()) {
        const qsizetype amp = text.indexOf(u'&', position);
        if (amp < 0) {
            out += text.mid(position);
            break;
        }
        out += text.mid(position, amp - position);
        const QStringView rest = text.mid(amp);

        const auto named = std::find_if(kNamedEntities.begin(), kNamedEntities.end(),
                                        [&](const NamedEntity &entity) { return rest.startsWith(entity.text); });
        if (named != kNamedEntities.end()) {
            out += named->character;
            position = amp + named->text.size();
            continue;
        }
        if (rest.startsWith(u"&#")) {
            if (const qsizetype after = decodeNumericEntity(text, amp, out)) {
                position = after;
                continue;
            }
        }
        // Not an entity: kept as written, through the next ";".
        const qsizetype semicolon = text.indexOf(u';', amp + 1);
        position = semicolon < 0 ? text.size() : semicolon + 1;
        out += text.mid(amp, position - amp);
    }
    return out;
}

}  // namespace QLSYNCParser_Private
