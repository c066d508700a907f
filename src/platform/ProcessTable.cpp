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

bool ownedAsAsked(const QString &processFolder, Owners owners)
{
    struct stat info
    {};
    if (::stat(QFile::encodeName(processFolder).constData(), &info) != 0)
        return false;
    return owners == Owners::EveryUser || info.st_uid == ::geteuid();
}

}  // namespace

std::optional<Process> process(qint64 pid, Owners owners)
{
    if (pid <= 0)
        return std::nullopt;
    const QString folder = kProcRoot + '/' + QString::number(pid);
    if (!ownedAsAsked(folder, owners))
        return std::nullopt;
    const QString executable = readLink(folder + "/exe");
    if (executable.isEmpty())
        return std::nullopt;
    return Process{pid, executable.section('/', -1), executable};
}

namespace {

QList<Process> processes(Owners owners)
{
    QList<qint64> ids;
    for (const QString &entry : QDir(kProcRoot).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool isNumber = false;
        const qint64 pid = entry.toLongLong(&isNumber);
        if (isNumber)
            ids.append(pid);
    }
    std::sort(ids.begin(), ids.end());
    QList<Process> found;
    for (const qint64 pid : ids) {
        if (auto running = process(pid, owners))
            found.append(*running);
    }
    return found;
}

}  // namespace

QList<Process> userProcesses() { return processes(Owners::CurrentUser); }

QList<qint64> processIdsNamed(const QString &name, Owners owners)
{
    QList<qint64> ids;
    if (name.isEmpty())
        return ids;
    const qint64 self = ::getpid();
    for (const Process &candidate : processes(owners)) {
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
