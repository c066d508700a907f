#include "platform/ChildLifetime.h"

#include <QProcess>

#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

void ChildLifetime::endWithThisProcess(QProcess &process)
{
    const pid_t parent = ::getpid();
    // Runs in the child between fork and exec: only async-signal-safe calls.
    process.setChildProcessModifier([parent] {
        ::setpgid(0, 0);
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        // This process may have ended before the request was made.
        if (::getppid() != parent)
            ::_exit(127);
    });
}

void ChildLifetime::signalGroup(QProcess &process, int signal)
{
    if (process.state() == QProcess::NotRunning)
        return;
    const auto child = pid_t(process.processId());
    if (child <= 0)
        return;
    // The child may not have made its group yet; it gets the signal all the same.
    ::kill(-child, signal);
    ::kill(child, signal);
}
