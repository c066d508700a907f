#include "platform/PrivilegedRunner.h"

#include <QDir>
#include <QProcess>

#include <unistd.h>

#include <utility>

namespace {

// pkexec's own exit codes: the rights were refused or the dialog dismissed (126),
// or it was not authorised or failed before running anything (127).
constexpr int kPkexecDismissed = 126;
constexpr int kPkexecNotAuthorised = 127;

bool isCleanAbsolutePath(const QString &path)
{
    return QDir::isAbsolutePath(path) && QDir::cleanPath(path) == path && path != QLatin1String("/");
}

bool isProcessId(const QString &text)
{
    bool ok = false;
    const qlonglong pid = text.toLongLong(&ok);
    return ok && pid > 0 && text == QString::number(pid);
}

}  // namespace

PrivilegedAllowList::PrivilegedAllowList(QList<PrivilegedVerb> verbs, QStringList paths)
    : mVerbs(std::move(verbs))
    , mPaths(std::move(paths))
{}

bool PrivilegedAllowList::permits(const QString &tool, const QStringList &arguments) const
{
    for (const PrivilegedVerb &verb : mVerbs) {
        if (verb.tool != tool || !isCleanAbsolutePath(tool) || arguments.size() != verb.options.size() + 1)
            continue;
        if (arguments.mid(0, verb.options.size()) == verb.options && permitsOperand(verb.operand, arguments.last()))
            return true;
    }
    return false;
}

bool PrivilegedAllowList::permitsOperand(PrivilegedVerb::Operand kind, const QString &operand) const
{
    switch (kind) {
    case PrivilegedVerb::Operand::AllowedPath:
        return isCleanAbsolutePath(operand) && mPaths.contains(operand);
    case PrivilegedVerb::Operand::ProcessId:
        return isProcessId(operand);
    }
    return false;
}

PrivilegedRunner::PrivilegedRunner(PrivilegedAllowList allowList)
    : mAllowList(std::move(allowList))
{}

PrivilegedRunner::~PrivilegedRunner() = default;

PrivilegedRunner::Result PrivilegedRunner::run(const QString &tool, const QStringList &arguments)
{
    if (!mAllowList.permits(tool, arguments))
        return {Outcome::Refused, -1};
    return execute(tool, arguments);
}

std::unique_ptr<PrivilegedRunner> PrivilegedRunner::forThisProcess(PrivilegedAllowList allowList)
{
    if (geteuid() == 0)
        return std::make_unique<DirectPrivilegedRunner>(std::move(allowList));
    return std::make_unique<PkexecPrivilegedRunner>(std::move(allowList));
}

PrivilegedRunner::Result PrivilegedRunner::runProgram(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (!process.waitForStarted(-1))
        return {Outcome::NotStarted, -1};
    process.waitForFinished(-1);
    if (process.exitStatus() != QProcess::NormalExit)
        return {Outcome::Finished, -1};
    return {Outcome::Finished, process.exitCode()};
}

PrivilegedRunner::Result DirectPrivilegedRunner::execute(const QString &tool, const QStringList &arguments)
{
    return runProgram(tool, arguments);
}

PkexecPrivilegedRunner::PkexecPrivilegedRunner(PrivilegedAllowList allowList, QString pkexecPath)
    : PrivilegedRunner(std::move(allowList))
    , mPkexecPath(std::move(pkexecPath))
{}

PrivilegedRunner::Result PkexecPrivilegedRunner::execute(const QString &tool, const QStringList &arguments)
{
    Result result = runProgram(mPkexecPath, QStringList{tool} + arguments);
    if (result.outcome == Outcome::Finished &&
        (result.exitCode == kPkexecDismissed || result.exitCode == kPkexecNotAuthorised))
        result = {Outcome::Refused, result.exitCode};
    return result;
}
