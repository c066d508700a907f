#include "uninstaller/authorization/QLAuthentication.h"

#include "uninstaller/removal/InstallReceipt.h"

#include <unistd.h>

namespace {

const QString kRemoveTool = QStringLiteral("/bin/rm");
const QStringList kRemoveOptions = {QStringLiteral("-rf")};
const QString kProbeTool = QStringLiteral("/usr/bin/test");
const QStringList kProbeOptions = {QStringLiteral("-e")};

QStringList removablePaths(const QList<UninstallStep> &steps)
{
    QStringList paths;
    for (const UninstallStep &step : steps) {
        if (step.action == UninstallStep::Action::RemoveItems)
            paths += step.subjects;
        if (step.action != UninstallStep::Action::RemoveInstall)
            continue;
        for (const QString &receiptPath : step.subjects) {
            const InstallReceipt receipt = InstallReceipt::read(receiptPath);
            paths += receiptPath;
            paths += receipt.installedFiles();
            paths += receipt.foldersDeepestFirst();
        }
    }
    paths.removeDuplicates();
    return paths;
}

}  // namespace

PrivilegedAllowList QLAuthentication::allowListFor(const QList<UninstallStep> &steps)
{
    return PrivilegedAllowList({{kRemoveTool, kRemoveOptions, PrivilegedVerb::Operand::AllowedPath},
                                {kProbeTool, kProbeOptions, PrivilegedVerb::Operand::AllowedPath}},
                               removablePaths(steps));
}

QString QLAuthentication::probePathFor(const QList<UninstallStep> &steps)
{
    const QStringList paths = removablePaths(steps);
    return paths.isEmpty() ? QString() : paths.first();
}

bool QLAuthentication::authenticate()
{
    if (mProbePath.isEmpty())
        return isAdministrator();
    // "test -e" ends with 0 or 1 by whether the path exists; either way it ran with the rights.
    return mRunner.run(kProbeTool, kProbeOptions + QStringList{mProbePath}).outcome ==
           PrivilegedRunner::Outcome::Finished;
}

bool QLAuthentication::isAdministrator() { return ::geteuid() == 0; }

QString QLAuthentication::removeItem(const QString &path)
{
    const PrivilegedRunner::Result result = mRunner.run(kRemoveTool, kRemoveOptions + QStringList{path});
    switch (result.outcome) {
    case PrivilegedRunner::Outcome::Refused:
        return QStringLiteral("removing it was not permitted");
    case PrivilegedRunner::Outcome::NotStarted:
        return QStringLiteral("%1 could not be started").arg(kRemoveTool);
    case PrivilegedRunner::Outcome::Finished:
        break;
    }
    return result.exitCode == 0 ? QString()
                                : QStringLiteral("%1 ended with status %2").arg(kRemoveTool).arg(result.exitCode);
}
