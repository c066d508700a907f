#pragma once

// The waits of the database layer, in one place. Each starts at the product's
// value; tests shorten them for a run. New connections read them when created.
class FMDatabaseWaits
{
public:
    // How long a statement keeps retrying while another connection holds a lock.
    static constexpr double kMaxBusyRetryTimeInterval = 2.0;
    // The pause between two retries of a busy lock.
    static constexpr int kBusyRetryStepMilliseconds = 50;

    static double maxBusyRetryTimeInterval();
    static int busyRetryStepMilliseconds();

    static void shortenForTests(double maxBusyRetryTimeInterval, int busyRetryStepMilliseconds);
    static void restoreDefaults();
};
