#pragma once

#include "desktop/logs/LogNode.h"

#include <QList>

#include <optional>

// What the log manager delivers to: the log viewer. Called on the main thread,
// once for every file asked for, in the order they were asked for, except that
// days served from the cache come at once.
class LogParseReceiver
{
public:
    virtual ~LogParseReceiver() = default;

    // The records of one file, oldest first; nothing when the file could not be read.
    virtual void xmlParsed(const std::optional<QList<LogNode>> &records) = 0;
};
