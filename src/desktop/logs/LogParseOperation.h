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
    explicit LogParseOperation(QByteArray xmlData) : xmlData(std::move(xmlData)) {}

    // The records in file order; nothing when the bytes are not well-formed XML,
    // so that no part of a broken file is shown as if it were whole.
    std::optional<QList<LogNode>> parsedData() const;

private:
    const QByteArray xmlData;
};
