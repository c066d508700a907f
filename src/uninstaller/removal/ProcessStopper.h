#pragma once

#include "uninstaller/removal/UninstallerTimings.h"

#include <QString>

// Stops every running copy of a program, found by its exact program name:
// each is asked to end (SIGTERM) and, when it has not ended after the grace,
// made to (SIGKILL). Without administrator rights only the user's own
// processes are looked at; with them, every user's, since the programs of
// every user are about to be removed.
class ProcessStopper
{
public:
    struct Result
    {
        int found = 0;      // processes that ran the program
        int killed = 0;     // of those, how many had to be made to end
        int remaining = 0;  // still running at the end
    };

    ProcessStopper(bool everyUser, UninstallerTimings timings = {})
        : mEveryUser(everyUser)
        , mTimings(timings)
    {}

    Result stopProcessesNamed(const QString &name) const;

private:
    bool mEveryUser;
    UninstallerTimings mTimings;
};
