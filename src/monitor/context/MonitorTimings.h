#pragma once

#include <chrono>

// The monitor's waits and intervals.
struct MonitorTimings
{
    // The status refresh; the cut-off time is checked with it, so at most 30 s.
    std::chrono::milliseconds statusRefresh{std::chrono::seconds(30)};
    // One step of the blinking quota warning.
    std::chrono::milliseconds blink{500};
    // How long the tray-help balloon stays.
    std::chrono::milliseconds trayHelp{std::chrono::seconds(20)};
};
