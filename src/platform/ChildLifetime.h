#pragma once

class QProcess;

// Ties a child process's life to this process's: when this process ends in
// any way (killed, crashed), the kernel ends the child too, so no engine runs
// on as an orphan. The child also leads a process group of its own, so that
// what it starts in turn can be stopped with it.
namespace ChildLifetime {

// Set before the process is started; applies to every later start of it.
void endWithThisProcess(QProcess &process);

// Sends the signal to the child's whole process group while the child runs
// (and so holds the group's id); nothing once it has ended and been reaped,
// when its id may belong to another program.
void signalGroup(QProcess &process, int signal);

}  // namespace ChildLifetime
