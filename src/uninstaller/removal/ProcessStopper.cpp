#include "uninstaller/removal/ProcessStopper.h"

#include "platform/ProcessTable.h"

#include <QDeadlineTimer>
#include <QThread>

#include <csignal>

namespace {

class NamedProcesses
{
public:
    NamedProcesses(const QString &name, ProcessTable::Owners owners)
        : mName(name)
        , mOwners(owners)
    {}

    QList<qint64> running() const { return ProcessTable::processIdsNamed(mName, mOwners); }

    // Those of the ids that still run the program (a zombie runs none).
    QList<qint64> stillRunning(const QList<qint64> &ids) const
    {
        QList<qint64> left;
        for (const qint64 pid : ids) {
            if (runsProgram(pid))
                left.append(pid);
        }
        return left;
    }

    // An id freed and reused meanwhile belongs to some other program and is left alone.
    bool signal(qint64 pid, int signal) const { return runsProgram(pid) && ::kill(pid_t(pid), signal) == 0; }

    QList<qint64> waitUntilGone(const QList<qint64> &ids, UninstallerTimings timings) const
    {
        const QDeadlineTimer grace(timings.terminationGrace);
        QList<qint64> left = stillRunning(ids);
        while (!left.isEmpty() && !grace.hasExpired()) {
            QThread::msleep(ulong(timings.terminationPoll.count()));
            left = stillRunning(left);
        }
        return left;
    }

private:
    bool runsProgram(qint64 pid) const
    {
        const auto current = ProcessTable::process(pid, mOwners);
        return current && current->name == mName;
    }

    QString mName;
    ProcessTable::Owners mOwners;
};

}  // namespace

ProcessStopper::Result ProcessStopper::stopProcessesNamed(const QString &name) const
{
    const NamedProcesses processes(name,
                                   mEveryUser ? ProcessTable::Owners::EveryUser : ProcessTable::Owners::CurrentUser);
    Result result;
    const QList<qint64> running = processes.running();
    result.found = int(running.size());
    for (const qint64 pid : running)
        processes.signal(pid, SIGTERM);
    QList<qint64> left = processes.waitUntilGone(running, mTimings);
    for (const qint64 pid : left) {
        if (processes.signal(pid, SIGKILL))
            ++result.killed;
    }
    left = processes.waitUntilGone(left, mTimings);
    result.remaining = int(left.size());
    return result;
}
