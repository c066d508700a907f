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
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        // This process may have ended before the request was made.
        if (::getppid() != parent)
            ::_exit(127);
    });
}
