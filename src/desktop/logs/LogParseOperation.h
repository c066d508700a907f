#pragma once

#include "desktop/logs/LogNode.h"

#include <QByteArray>
#include <QList>

#include <optional>

// Reads the records of one day file. Element names are compared in lower case;
// "records" is skipped, each "record" becomes one LogNode, and any other element
// inside a record fills the field of its name (all its character data,
// whitespace included) or is ignored when the record has no such field.
// The log manager runs it on its queue, one file at a time.
class LogParseOperation
{
public:
    explicit LogParseOperation(QByteArray xmlData)
        : xmlData(std::move(xmlData))
    {}

    // Far beyond a day of records; a larger file is not read.
    static constexpr qsizetype kMaxDayFileBytes = 16 * 1024 * 1024;

    // The records in file order. A damaged file gives the whole records before
    // the damage; nothing when there is none, when it holds a document type or
    // when it is larger than the bound above.
    std::optional<QList<LogNode>> parsedData() const;

private:
    const QByteArray xmlData;
};
