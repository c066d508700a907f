#pragma once

#include <chrono>

// The waits of the uninstaller; tests pass shorter ones.
struct UninstallerTimings
{
    // How long a program asked to end (SIGTERM) gets before it is made to (SIGKILL).
    std::chrono::milliseconds terminationGrace{3000};
    // How often the ending of those programs is looked for meanwhile.
    std::chrono::milliseconds terminationPoll{50};
};
