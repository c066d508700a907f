#include "common/utility/QLUtility.h"

#include "common/texts/Brand.h"
#include "common/texts/QLLocalizedString.h"
#include "platform/MachineFacts.h"
#include "platform/ProcessTable.h"

QString QLUtility::machineID() { return MachineFacts::machineId(); }

QString QLUtility::machineName()
{
    QString name = MachineFacts::computerName();
    name.removeIf([](QChar character) { return !character.isLetterOrNumber(); });
    return name;
}

QString QLUtility::MacOSVersion() { return MachineFacts::systemVersion(); }

// Linux programs have no bundles; a process goes by its program name.
QStringList QLUtility::getBSDProcessList()
{
    QStringList names;
    for (const ProcessTable::Process &process : ProcessTable::userProcesses())
        names.append(process.name);
    return names;
}

QVariantMap QLUtility::infoForPID(qint64 pid)
{
    const auto process = ProcessTable::process(pid);
    if (!process)
        return {};
    return {{"CFBundleName", process->name}, {"CFBundleExecutable", process->executablePath}, {"pid", process->pid}};
}

QString QLUtility::applicationName() { return QLLocalizedString(QStringLiteral("ApplicationName")); }

bool QLUtility::isTarnixApplication() { return Brand::isTarnix(); }
