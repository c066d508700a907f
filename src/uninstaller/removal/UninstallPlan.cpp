#include "uninstaller/removal/UninstallPlan.h"

#include "common/texts/QLLocalizedString.h"
#include "platform/PathStandardizer.h"
#include "platform/PathTemplate.h"
#include "uninstaller/removal/RemovalPathCheck.h"

#include <QStringList>

#include <functional>

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
        return add(Action::StopProgram, nameKeys, advancesProgress,
                   [](const QString &value, QString &) { return value; });
    }

    StepList &remove(const QStringList &pathKeys, bool advancesProgress = true)
    {
        return add(Action::RemoveItems, pathKeys, advancesProgress, removablePath());
    }

    StepList &removeInstall(const QString &receiptKey)
    {
        return add(Action::RemoveInstall, {receiptKey}, true, removablePath());
    }

    StepList &removeLoginItems(const QStringList &programKeys)
    {
        return add(Action::RemoveLoginItems, programKeys, true, [](const QString &value, QString &) { return value; });
    }

    QList<UninstallStep> steps() const { return mSteps; }

private:
    using Subject = std::function<QString(const QString &value, QString &refusal)>;

    // The keys' values become the step's subjects; a value without one, or refused, its refusals.
    StepList &add(Action action, const QStringList &keys, bool advancesProgress, const Subject &subjectOf)
    {
        UninstallStep step{action, {}, advancesProgress, {}};
        for (const QString &key : keys) {
            QString refusal;
            const QString value = configuredValue(key, refusal);
            const QString subject = refusal.isEmpty() ? subjectOf(value, refusal) : QString();
            if (refusal.isEmpty())
                step.subjects.append(subject);
            else
                step.refusals.append(refusal);
        }
        mSteps.append(step);
        return *this;
    }

    // A path is filled with the user's login name where its template asks for one.
    Subject removablePath() const
    {
        return [login = mLoginName](const QString &value, QString &refusal) {
            const QString path = PathStandardizer::standardizePath(PathTemplate::fillTemplate(value, {login}));
            refusal = RemovalPathCheck::refusal(path);
            return path;
        };
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
