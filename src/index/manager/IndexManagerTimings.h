#pragma once

#include "index/IndexTimings.h"

#include <QtGlobal>

#include <chrono>

// The index manager's waits, with the product's values.
struct IndexManagerTimings
{
    // Between two hand-overs of the queued files to the journal writers.
    std::chrono::milliseconds tickInterval{10000};
    // A writer pauses this long after every kRowsPerPause rows, so that a
    // large tick does not starve the readers of the drive.
    std::chrono::milliseconds writerPause{2};
    static constexpr int kRowsPerPause = 2;
    // Of the journals, the merges and the lookups the manager makes.
    IndexTimings index;
};

// How many stored files the index manager keeps in memory; tests pass smaller bounds.
struct IndexManagerLimits
{
    // Files queued between ticks beyond which they are handed to a writer at once.
    qsizetype queueBound = 20000;
    // Files handed to writers and not yet written beyond which a tick's files wait on disk.
    qsizetype recordsInMemoryBound = 100000;
};
