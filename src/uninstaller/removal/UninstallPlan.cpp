#include "uninstaller/removal/UninstallPlan.h"

#include "common/texts/QLLocalizedString.h"
#include "platform/PathStandardizer.h"
#include "platform/PathTemplate.h"
#include "uninstaller/removal/RemovalPathCheck.h"

#include <QStringList>

#include <pwd.h>
#include <unistd.h>

namespace UninstallPlan {
namespace {

using Action = UninstallStep::Action;

// A missing key gives the key's own text, which must never be taken for a name or a path.
QString configuredValue(const QString &key, QString &refusal)
{
    const QString value = QLLocalizedString(key);
    if (value.isEmpty() || value == key)
        refusal = QStringLiteral("%1 has no value").arg(key);
    return refusal.isEmpty() ? value : QString();
}

QString loginName()
{
    const passwd *user = ::getpwuid(::geteuid());
    return user ? QString::fromLocal8Bit(user->pw_name) : qEnvironmentVariable("USER");
}

class StepList
{
public:
    StepList &stop(const QStringList &nameKeys, bool advancesProgress = true)
    {
        UninstallStep step{Action::StopProgram, {}, advancesProgress, {}};
        for (const QString &key : nameKeys)
            step.subjects.append(configuredValue(key, step.refusal));
        return add(step);
    }

    StepList &remove(const QStringList &pathKeys, bool advancesProgress = true)
    {
        return add(pathStep(Action::RemoveItems, pathKeys, advancesProgress));
    }

    StepList &removeInstall(const QString &receiptKey)
    {
        return add(pathStep(Action::RemoveInstall, {receiptKey}, true));
    }

    StepList &removeLoginItems(const QStringList &programKeys)
    {
        UninstallStep step{Action::RemoveLoginItems, {}, true, {}};
        for (const QString &key : programKeys)
            step.subjects.append(configuredValue(key, step.refusal));
        return add(step);
    }

    QList<UninstallStep> steps() const { return mSteps; }

private:
    StepList &add(UninstallStep step)
    {
        if (!step.refusal.isEmpty())
            step.subjects.removeAll(QString());
        mSteps.append(step);
        return *this;
    }

    // Paths are filled with the user's login name where their template asks for one.
    UninstallStep pathStep(Action action, const QStringList &keys, bool advancesProgress) const
    {
        UninstallStep step{action, {}, advancesProgress, {}};
        for (const QString &key : keys) {
            QString refusal;
            const QString value = configuredValue(key, refusal);
            const QString path = refusal.isEmpty()
                                     ? PathStandardizer::standardizePath(PathTemplate::fillTemplate(value, {mLoginName}))
                                     : QString();
            if (refusal.isEmpty())
                refusal = RemovalPathCheck::refusal(path);
            if (refusal.isEmpty())
                step.subjects.append(path);
            else
                step.refusal = step.refusal.isEmpty() ? refusal : step.refusal + QLatin1Char('\n') + refusal;
        }
        return step;
    }

    QString mLoginName = loginName();
    QList<UninstallStep> mSteps;
};

}  // namespace

QList<UninstallStep> forRunningBrand()
{
    using namespace Qt::StringLiterals;
    return StepList()
        .stop({u"ApplicationExecName"_s})
        .stop({u"MonitorExecName"_s, u"DaemonExecName"_s})
        .removeInstall(u"RecieptFilePath"_s)
        .remove({u"ApplicationRootFolderPath"_s})
        .remove({u"ApplicationUserFolderPath"_s, u"ApplicationConfigFolderPath"_s})
        .remove({u"ApplicationPreferenceFile"_s})
        .remove({u"MonitorUserDefaultsFile"_s})
        .remove({u"RecieptFilePath"_s})
        .remove({u"ShortcutPath"_s, u"DesktopEntryPath"_s}, false)
        .stop({u"ExecuterName"_s}, false)
        .removeLoginItems({u"ApplicationExecPath"_s, u"MonitorExecPath"_s})
        .remove({u"LoginInfo"_s})
        .remove({u"ApplicationStatusPath"_s})
        .steps();
}

}  // namespace UninstallPlan
