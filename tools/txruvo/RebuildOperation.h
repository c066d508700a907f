#pragma once

#include "txruvo/RunReport.h"

#include <QString>
#include <QStringList>

class CommandLine;
class DriveLayout;
class Scenario;

// The index rebuild ("--expressdb-recreate"): lists every item stored below
// the data root, one line per item with what the client's index keeps of it
// (folder identifier, computer folder, encoded name, size, time, version).
// The items of one folder are listed together, so the client can take the
// listing one folder at a time.
class RebuildOperation
{
public:
    RebuildOperation(const CommandLine &commandLine, const Scenario &scenario);

    int run();

private:
    // False when the scenario ended the run; *status then holds its exit status.
    bool listComputerFolder(const DriveLayout &layout, int *status);

    const CommandLine &mCommandLine;
    const Scenario &mScenario;
    RunReport mReport;
    QString mDataRoot;
    int mListed = 0;
};
