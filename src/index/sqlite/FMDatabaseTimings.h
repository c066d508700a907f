#pragma once

#include <chrono>

// The waits of a database connection, given when it is made; tests pass shorter ones.
struct FMDatabaseTimings
{
    // How long a statement keeps retrying while another connection holds a lock.
    std::chrono::milliseconds maxBusyRetry{2000};
    // The pause between two retries of a busy lock.
    std::chrono::milliseconds busyRetryStep{50};
};
