#pragma once

#include <QByteArray>
#include <QFile>

// The process's memory as /proc tells it, for the benchmarks that print peaks.
namespace PeakMemory {

// A size field of /proc/self/status ("VmRSS:", "VmHWM:") in KiB; -1 when absent.
inline long statusKiB(const char *field)
{
    QFile status("/proc/self/status");
    status.open(QIODevice::ReadOnly);
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').first().toLong();
    return -1;
}

// Lowers the peak resident size to the present one, so that each run's peak
// is its own; false where the kernel does not offer it.
inline bool resetPeakResident()
{
    QFile clearRefs("/proc/self/clear_refs");
    return clearRefs.open(QIODevice::WriteOnly) && clearRefs.write("5") == 1;
}

}  // namespace PeakMemory
