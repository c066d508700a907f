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

    // The records in file order. A file damaged part-way (a program that ended while it
    // appended) gives the whole records before the damage, never a record cut short;
    // nothing when not one whole record could be read.
    std::optional<QList<LogNode>> parsedData() const;

private:
    const QByteArray xmlData;
};
