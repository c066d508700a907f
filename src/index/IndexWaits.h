#pragma once

#include <functional>

// The waits of the index, in one place. Each starts at the product's value;
// tests and benchmarks change them for a run. Read at each use.
class IndexWaits
{
public:
    // Before a main index or a journal is opened by initialisation.
    static constexpr double kOpenWait = 1.0;
    // The merge pauses after every so many statements, to give readers room.
    static constexpr int kMergeStatementsPerPause = 50;
    static constexpr double kMergePause = 0.1;

    static double openWait();
    static double mergePause();

    static void shortenForTests(double openWait, double mergePause);
    static void restoreDefaults();
};

// How the index sleeps; tests hand in one that counts instead.
using IndexSleeper = std::function<void(double seconds)>;
void sleepForSeconds(double seconds);
