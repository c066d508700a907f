#pragma once

#include "index/sqlite/FMDatabaseTimings.h"

#include <chrono>
#include <functional>

// The waits of the index, given to a wrapper when it is made; tests and
// benchmarks pass shorter ones.
struct IndexTimings
{
    // Before a main index or a journal is opened by initialisation.
    std::chrono::milliseconds openWait{1000};
    // The merge pauses after every so many statements, to give readers room.
    int mergeStatementsPerPause = 50;
    std::chrono::milliseconds mergePause{100};
    // The connections the wrapper makes.
    FMDatabaseTimings database;
};

// How the index sleeps; tests hand in one that counts instead.
using IndexSleeper = std::function<void(std::chrono::milliseconds)>;

namespace IndexSleep {

void sleepFor(std::chrono::milliseconds duration);

}  // namespace IndexSleep
