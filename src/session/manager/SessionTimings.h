#pragma once

#include "engine/command/TarnixProcessLib.h"
#include "index/IndexTimings.h"
#include "session/enumeration/FolderEnumerator.h"

#include <chrono>

// Every wait of a session, with the product's values. Tests pass short ones.
struct SessionTimings
{
    // The elapsed-time clock.
    std::chrono::milliseconds elapsedTick{1000};
    // After the first block of a session is handed to an engine, the walk waits
    // this long so that the engine has started before more blocks appear.
    std::chrono::milliseconds firstLaunchSettle{1000};
    // The first nine retries of an engine after a network error.
    std::chrono::milliseconds retryDelay{60000};
    // Later retries, made only while the other engine is retrying too.
    std::chrono::milliseconds retryWhileOtherRetries{10000};
    // From the last engine's end to the end state of a restore, or of a session
    // whose engines both used up their retries.
    std::chrono::milliseconds endWait{1000};
    FolderEnumerator::Timings walk;
    TarnixProcessLibTimings engine;
    // A restore's searches of the drive's index.
    IndexTimings index;
};
