#include "platform/ProcessTable.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

namespace ProcessTable {
namespace {

const QString kProcRoot = QStringLiteral("/proc");

QString readLink(const QString &path)
{
    QByteArray target(4096, '\0');
    const ssize_t length = ::readlink(QFile::encodeName(path).constData(), target.data(), size_t(target.size()));
    if (length <= 0)
        return {};
    target.truncate(length);
    QString text = QFile::decodeName(target);
    // An executable replaced or removed since the start still names the program.
    static const QString kDeleted = QStringLiteral(" (deleted)");
    if (text.endsWith(kDeleted))
        text.chop(kDeleted.size());
    return text;
}

bool ownedByCurrentUser(const QString &processFolder)
{
    struct stat info {};
    return ::stat(QFile::encodeName(processFolder).constData(), &info) == 0 && info.st_uid == ::geteuid();
}

}  // namespace

std::optional<Process> process(qint64 pid)
{
    if (pid <= 0)
        return std::nullopt;
    const QString folder = kProcRoot + '/' + QString::number(pid);
    if (!ownedByCurrentUser(folder))
        return std::nullopt;
    const QString executable = readLink(folder + "/exe");
    if (executable.isEmpty())
        return std::nullopt;
    return Process{pid, executable.section('/', -1), executable};
}

QList<Process> userProcesses()
{
    QList<qint64> ids;
    for (const QString &entry : QDir(kProcRoot).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool isNumber = false;
        const qint64 pid = entry.toLongLong(&isNumber);
        if (isNumber)
            ids.append(pid);
    }
    std::sort(ids.begin(), ids.end());
    QList<Process> processes;
    for (const qint64 pid : ids) {
        if (auto found = process(pid))
            processes.append(*found);
    }
    return processes;
}

QList<qint64> processIdsNamed(const QString &name)
{
    QList<qint64> ids;
    if (name.isEmpty())
        return ids;
    const qint64 self = ::getpid();
    for (const Process &candidate : userProcesses()) {
        if (candidate.name == name && candidate.pid != self)
            ids.append(candidate.pid);
    }
    return ids;
}

int terminateProcessesNamed(const QString &name)
{
    int signalled = 0;
    for (const qint64 pid : processIdsNamed(name)) {
        const auto current = process(pid);
        if (current && current->name == name && ::kill(pid_t(pid), SIGTERM) == 0)
            ++signalled;
    }
    return signalled;
}

}  // namespace ProcessTable
