#pragma once

#include <QString>

// The brand's monitor program as the client sees it: whether it runs, and the
// one-word command file it reads and deletes when it starts.
namespace MonitorProgram {

// A process of this user runs under the brand's monitor name.
bool isRunning();

// The monitor's command file (".launch").
QString launchFilePath();

}  // namespace MonitorProgram
