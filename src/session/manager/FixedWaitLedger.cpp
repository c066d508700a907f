#include "session/manager/FixedWaitLedger.h"

#include <algorithm>

void FixedWaitLedger::clear()
{
    std::lock_guard lock(mLock);
    mWaits.clear();
    mRuns.clear();
    mRunningSince = {};
}

void FixedWaitLedger::engineStarted(int engine, Clock::time_point at)
{
    std::lock_guard lock(mLock);
    mRunningSince.at(engine) = at;
}

void FixedWaitLedger::engineFinished(int engine, Clock::time_point noticedAt, Clock::duration finishWait)
{
    std::lock_guard lock(mLock);
    std::optional<Clock::time_point> &since = mRunningSince.at(engine);
    Clock::time_point exited = noticedAt - finishWait;
    if (since) {
        exited = std::clamp(exited, *since, std::max(*since, noticedAt));
        mRuns.push_back({*since, exited});
    }
    since.reset();
    if (exited < noticedAt)
        mWaits.push_back({exited, noticedAt});
}

void FixedWaitLedger::addWait(Clock::time_point from, Clock::time_point to)
{
    std::lock_guard lock(mLock);
    if (from < to)
        mWaits.push_back({from, to});
}

std::vector<FixedWaitLedger::Span> FixedWaitLedger::merged(std::vector<Span> spans)
{
    std::sort(spans.begin(), spans.end(), [](const Span &a, const Span &b) { return a.from < b.from; });
    std::vector<Span> result;
    for (const Span &span : spans) {
        if (!result.empty() && span.from <= result.back().to)
            result.back().to = std::max(result.back().to, span.to);
        else
            result.push_back(span);
    }
    return result;
}

std::chrono::milliseconds FixedWaitLedger::spent(Clock::time_point now) const
{
    std::lock_guard lock(mLock);
    std::vector<Span> waits;
    for (const Span &wait : mWaits)
        if (wait.from < now)
            waits.push_back({wait.from, std::min(wait.to, now)});
    std::vector<Span> runs = mRuns;
    for (const std::optional<Clock::time_point> &since : mRunningSince)
        if (since && *since < now)
            runs.push_back({*since, now});
    runs = merged(std::move(runs));

    Clock::duration total{0};
    for (const Span &wait : merged(std::move(waits))) {
        Clock::duration covered = wait.to - wait.from;
        for (const Span &run : runs) {
            const auto from = std::max(wait.from, run.from);
            const auto to = std::min(wait.to, run.to);
            if (from < to)
                covered -= to - from;
        }
        total += covered;
    }
    return std::chrono::duration_cast<std::chrono::milliseconds>(total);
}
