#pragma once

#include <QList>
#include <QString>

#include <optional>

// The running processes of the current user, read from /proc. A process is
// known by its program name: the file name of its executable. Nothing here
// runs a shell, and processes of other users are never listed or signalled
// unless a caller running with administrator rights asks for every user's.
namespace ProcessTable {

enum class Owners
{
    CurrentUser,
    EveryUser
};

struct Process
{
    qint64 pid = 0;
    QString name;            // file name of the executable
    QString executablePath;  // full path of the executable
};

// Every process of the current user that runs an executable (kernel threads
// and zombies have none), in ascending process-id order.
QList<Process> userProcesses();

// The process with this id when it belongs to the current user (or to anyone, for EveryUser).
std::optional<Process> process(qint64 pid, Owners owners = Owners::CurrentUser);

// Ids of the current user's (or every user's) processes whose program name is
// exactly this name, this process itself excluded.
QList<qint64> processIdsNamed(const QString &name, Owners owners = Owners::CurrentUser);

// Asks each of those processes to end (SIGTERM). The name is checked again
// just before each signal, so an id reused meanwhile is left alone.
// Returns how many processes were signalled.
int terminateProcessesNamed(const QString &name);

}  // namespace ProcessTable
