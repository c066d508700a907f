#include "index/sqlite/FMDatabaseWaits.h"

#include <atomic>

namespace {
std::atomic<double> gMaxBusyRetryTimeInterval{FMDatabaseWaits::kMaxBusyRetryTimeInterval};
std::atomic<int> gBusyRetryStepMilliseconds{FMDatabaseWaits::kBusyRetryStepMilliseconds};
}  // namespace

double FMDatabaseWaits::maxBusyRetryTimeInterval()
{
    return gMaxBusyRetryTimeInterval.load();
}

int FMDatabaseWaits::busyRetryStepMilliseconds()
{
    return gBusyRetryStepMilliseconds.load();
}

void FMDatabaseWaits::shortenForTests(double maxBusyRetryTimeInterval, int busyRetryStepMilliseconds)
{
    gMaxBusyRetryTimeInterval = maxBusyRetryTimeInterval;
    gBusyRetryStepMilliseconds = busyRetryStepMilliseconds;
}

void FMDatabaseWaits::restoreDefaults()
{
    shortenForTests(kMaxBusyRetryTimeInterval, kBusyRetryStepMilliseconds);
}
