#pragma once

#include "index/IndexTimings.h"

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
