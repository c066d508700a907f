#pragma once

class QProcess;

// Ties a child process's life to this process's: when this process ends in
// any way (killed, crashed), the kernel ends the child too, so no engine runs
// on as an orphan.
namespace ChildLifetime {

// Set before the process is started; applies to every later start of it.
void endWithThisProcess(QProcess &process);

}  // namespace ChildLifetime
