#include "session/manager/FixedWaitLedger.h"

#include <gtest/gtest.h>

// How long fixed waits alone held a session up: waits count while no engine runs.

using namespace std::chrono_literals;
using Clock = FixedWaitLedger::Clock;

namespace {

Clock::time_point at(std::chrono::milliseconds offset) { return Clock::time_point{} + 1h + offset; }

TEST(FixedWaitLedgerTest, WaitsCountOnceAndNeverWhileAnEngineRuns)
{
    struct Case
    {
        const char *name;
        std::vector<std::pair<int, int>> waits;  // from, to (ms)
        std::vector<std::pair<int, int>> runs;   // engine one from, to; then engine two
        int expected;
    };
    const Case cases[] = {
        {"a wait alone", {{0, 1000}}, {}, 1000},
        {"a wait while an engine copies", {{100, 900}}, {{0, 1000}}, 0},
        {"two waits at once", {{0, 1000}, {500, 1500}}, {}, 1500},
        {"a wait the engine outlasts in part", {{0, 1000}}, {{0, 400}}, 600},
        {"both engines cover parts of one wait", {{0, 3000}}, {{0, 500}, {2500, 2800}}, 2200},
        {"the two engines overlap", {{0, 1000}}, {{200, 600}, {400, 800}}, 400},
        // The walk's short pauses: before the first engine starts, and beside it.
        {"many short pauses, some while an engine copies",
         {{0, 1}, {10, 11}, {20, 21}, {30, 31}, {40, 42}, {50, 52}},
         {{35, 1000}},
         4},
    };
    for (const Case &c : cases) {
        FixedWaitLedger ledger;
        for (const auto &[from, to] : c.waits)
            ledger.addWait(at(std::chrono::milliseconds(from)), at(std::chrono::milliseconds(to)));
        for (size_t engine = 0; engine < c.runs.size(); ++engine) {
            const auto &[from, to] = c.runs[engine];
            ledger.engineStarted(int(engine), at(std::chrono::milliseconds(from)));
            ledger.engineFinished(int(engine), at(std::chrono::milliseconds(to)), 0ms);
        }
        EXPECT_EQ(ledger.spent(at(10s)).count(), c.expected) << c.name;
    }
}

TEST(FixedWaitLedgerTest, AFinishWaitFollowsTheEnginesExit)
{
    FixedWaitLedger ledger;
    ledger.engineStarted(0, at(0ms));
    ledger.engineStarted(1, at(0ms));
    // Engine one exited at 1 s and was told of at 4 s; engine two copied until 2 s.
    ledger.engineFinished(0, at(4s), 3s);
    EXPECT_EQ(ledger.spent(at(10s)), 0ms) << "engine two still copies";
    ledger.engineFinished(1, at(5s), 3s);
    EXPECT_EQ(ledger.spent(at(10s)), 3000ms) << "from engine two's exit at 2 s to 5 s";

    // A run that never started is told of sooner than its finish wait: no time before its start counts.
    ledger.clear();
    ledger.engineStarted(0, at(1s));
    ledger.engineFinished(0, at(1500ms), 3s);
    EXPECT_EQ(ledger.spent(at(10s)), 500ms);
}

TEST(FixedWaitLedgerTest, AWaitUnderWayCountsUpToNow)
{
    FixedWaitLedger ledger;
    ledger.addWait(at(0ms), at(60s));
    EXPECT_EQ(ledger.spent(at(2s)), 2000ms);
    EXPECT_EQ(ledger.spent(at(-1s)), 0ms);
}

}  // namespace
