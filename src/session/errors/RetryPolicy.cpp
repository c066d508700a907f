#include "session/errors/RetryPolicy.h"

#include "session/errors/EngineErrorPhrases.h"

using namespace EngineErrorPhrases;

RetryPolicy::Decision RetryPolicy::decide(int engine)
{
    int &count = mCounts[engine];
    const Retry decision = decideRetry(count, mCounts[1 - engine]);
    if (decision == Retry::NotDecided)
        return {};
    ++count;
    if (decision == Retry::EndSession)
        return {Decision::EndSession};
    return {Decision::Retry, decision == Retry::AfterLongDelay ? mLongDelay : mShortDelay};
}

bool RetryPolicy::mayRetry(int engine) const { return mCounts[engine] <= kRetryLimit; }

bool RetryPolicy::anyUsedUp() const { return mCounts[0] >= kRetryLimit || mCounts[1] >= kRetryLimit; }

bool RetryPolicy::bothUsedUp() const { return mCounts[0] >= kRetryLimit && mCounts[1] >= kRetryLimit; }
