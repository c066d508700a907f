#pragma once

#include <array>
#include <chrono>

// When an engine whose run met network trouble runs its block again: the
// first nine retries after a long delay, later ones after a short delay and
// only while the other engine is retrying too, and none past the tenth, which
// ends the session. Counts each engine's retries of the session.
class RetryPolicy
{
public:
    static constexpr int kEngines = 2;

    RetryPolicy(std::chrono::milliseconds longDelay, std::chrono::milliseconds shortDelay)
        : mLongDelay(longDelay)
        , mShortDelay(shortDelay)
    {}

    // What becomes of an engine that wants a retry.
    struct Decision
    {
        enum Kind
        {
            None,
            Retry,
            EndSession
        } kind = None;
        std::chrono::milliseconds delay{0};
    };
    // Decides and counts the retry.
    Decision decide(int engine);

    // Whether the engine has retries left to decide about.
    bool mayRetry(int engine) const;
    // An engine used up its retries: the session ends as a connection failure.
    bool anyUsedUp() const;
    bool bothUsedUp() const;
    // A new session, a cancel or the end: no retry is counted any more.
    void reset() { mCounts = {}; }

private:
    std::chrono::milliseconds mLongDelay;
    std::chrono::milliseconds mShortDelay;
    std::array<int, kEngines> mCounts{};
};
