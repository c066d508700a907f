#pragma once

#include <array>
#include <chrono>
#include <mutex>
#include <optional>
#include <vector>

// The session's fixed waits and engine runs on one clock, to tell how long the
// fixed waits alone held a session up: the time inside any wait while no
// engine process ran. Two waits at once count once; a wait while an engine
// copies counts not at all. Thread-safe: the walk waits on its own thread.
class FixedWaitLedger
{
public:
    using Clock = std::chrono::steady_clock;

    void clear();
    void engineStarted(int engine, Clock::time_point at);
    // The engine's wrapper tells of its end a finish wait after the engine
    // exited (or less, when it never started): the run ends there, the wait follows.
    void engineFinished(int engine, Clock::time_point noticedAt, Clock::duration finishWait);
    void addWait(Clock::time_point from, Clock::time_point to);
    // Up to now: a wait or a run not over yet counts up to this moment.
    std::chrono::milliseconds spent(Clock::time_point now) const;

private:
    struct Span
    {
        Clock::time_point from;
        Clock::time_point to;
    };

    static std::vector<Span> merged(std::vector<Span> spans);

    mutable std::mutex mLock;
    std::vector<Span> mWaits;
    std::vector<Span> mRuns;
    std::array<std::optional<Clock::time_point>, 2> mRunningSince;
};
