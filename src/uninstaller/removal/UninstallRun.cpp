#include "uninstaller/removal/UninstallRun.h"

#include "uninstaller/removal/InstallReceipt.h"
#include "uninstaller/removal/ProcessStopper.h"

#include <QDir>
#include <QFileInfo>

namespace {

// A link counts as there even when what it points at is gone.
bool isThere(const QString &path) { return QFileInfo(path).exists() || QFileInfo(path).isSymLink(); }

}  // namespace

UninstallRun::Report UninstallRun::execute(const QList<UninstallStep> &steps,
                                           const std::function<void()> &advanceProgress)
{
    Report report;
    report.authenticated = mServices.authenticate();
    if (!report.authenticated)
        return report;
    for (const UninstallStep &step : steps) {
        report.failures.append(step.refusals);
        switch (step.action) {
        case UninstallStep::Action::StopProgram:
            stopPrograms(step.subjects, report.failures);
            break;
        case UninstallStep::Action::RemoveItems:
            removeItems(step.subjects, report.failures);
            break;
        case UninstallStep::Action::RemoveInstall:
            for (const QString &receipt : step.subjects)
                removeInstall(receipt, report.failures);
            break;
        case UninstallStep::Action::RemoveLoginItems:
            removeLoginItems(step.subjects, report.failures);
            break;
        }
        if (step.advancesProgress && advanceProgress)
            advanceProgress();
    }
    return report;
}

void UninstallRun::stopPrograms(const QStringList &names, QStringList &failures) const
{
    const ProcessStopper stopper(mServices.runsAsAdministrator(), mTimings);
    for (const QString &name : names) {
        const ProcessStopper::Result result = stopper.stopProcessesNamed(name);
        if (result.remaining > 0)
            failures.append(QStringLiteral("%1 is still running (%2 of %3 processes did not end)")
                                .arg(name)
                                .arg(result.remaining)
                                .arg(result.found));
    }
}

QString UninstallRun::removeItem(const QString &path) const
{
    QString problem = mServices.removeItem(path);
    if (problem.isEmpty() && isThere(path))
        problem = QStringLiteral("it is still there");
    return problem.isEmpty() ? QString() : QStringLiteral("%1 could not be removed: %2").arg(path, problem);
}

void UninstallRun::removeItems(const QStringList &paths, QStringList &failures) const
{
    for (const QString &path : paths) {
        if (const QString failure = removeItem(path); !failure.isEmpty())
            failures.append(failure);
    }
}

// The installed programs are what the receipt lists, so that nothing else in
// their folders (another brand's programs, say) goes with them. Folders the
// removal leaves empty go too, the receipt last.
void UninstallRun::removeInstall(const QString &receiptPath, QStringList &failures) const
{
    const InstallReceipt receipt = InstallReceipt::read(receiptPath);
    if (!receipt.problem().isEmpty()) {
        failures.append(receipt.problem());
        return;
    }
    failures.append(receipt.refusals());
    removeItems(receipt.installedFiles(), failures);
    removeItems({receiptPath}, failures);
    for (const QString &folder : receipt.foldersDeepestFirst()) {
        if (QFileInfo(folder).isDir() && QDir(folder).isEmpty())
            removeItems({folder}, failures);
    }
}

void UninstallRun::removeLoginItems(const QStringList &programPaths, QStringList &failures) const
{
    for (const QString &program : programPaths) {
        mServices.removeLoginItemWithPath(program);  // false only says there was none
        if (mServices.hasLoginItemWithPath(program))
            failures.append(QStringLiteral("The login item of %1 could not be removed").arg(program));
    }
}
