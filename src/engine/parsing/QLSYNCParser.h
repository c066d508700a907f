#pragma once

#include "common/transfer/DataHandler.h"

#include <QString>
#include <QStringList>

// Reads one line of engine output into a result record. A line is either a
// row of bracketed columns ("[D][/a/b]"), read against the column list of an
// output type 0-9, or one element with quoted attributes
// (<item trf_type="up" trf_rate="12.5"/>), whose attribute names are the keys.
class QLSYNCParser
{
public:
    QLSYNCParser() = delete;

    enum Result
    {
        Parsed = 0,
        TooShort = -1,
        NotALine = -2
    };

    // Clears the record, then fills it from the line. Returns Parsed, TooShort
    // (under two characters, fewer columns than the type has, or a bracketed
    // line of a type without columns) or NotALine (neither "[" nor "<" first).
    static int ParseLineStr(const QString &line, DataHandler &handler, int outputType);

    // The column names of an output type; empty above 9 (element lines only).
    static QStringList HeadderForType(int outputType);

    // The column reader: the last column takes every surplus piece, with the
    // "]" characters between them restored, so a name keeps its own brackets.
    static int FlatParseStringData(const QString &line, DataHandler &handler, const QStringList &columns);
    // The element reader: an attribute counts only when a blank or "/>" follows it.
    static int xmlParseStringData(const QString &line, DataHandler &handler);

    // Where the element segment that begins at start ends (the position after
    // its stop character); 0 at the element's end, -1 past the line, and the
    // line's length plus one when no stop character follows.
    static qsizetype LocateNextDataLocation(QStringView line, qsizetype start);
    // Splits a segment key="value" plus its stop character; false for a
    // segment without "=" or too short to hold a quoted value. The parts are
    // views into the segment.
    static bool ExtractData(QStringView segment, QStringView &key, QStringView &value);
};

namespace QLSYNCParser_Private {

// The text with XML entities decoded in one left-to-right pass: the five named
// entities and numeric ones ("&#65;", "&#x41;"); anything else stays as written.
QString stringByDecodingXMLEntities(QStringView text);

}  // namespace QLSYNCParser_Private
