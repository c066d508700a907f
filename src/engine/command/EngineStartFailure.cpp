#include "engine/command/EngineStartFailure.h"

#include "common/texts/QLLocalizedString.h"
#include "platform/PathTemplate.h"

namespace EngineStartFailure {

QString refusal(const EngineArguments &arguments)
{
    return arguments.isComplete() ? QString() : missing(arguments.missingValue);
}

QString missing(const QString &what)
{
    return PathTemplate::fillTemplate(QLLocalizedString(QStringLiteral("EngineArgumentMissing")), {what});
}

QString launchFailure(const QString &executable, const QString &reason)
{
    return PathTemplate::fillTemplate(QLLocalizedString(QStringLiteral("EngineNotStarted")), {executable, reason});
}

QString abnormalEnd(const QString &executable, bool crashed, int exitCode)
{
    return crashed ? QStringLiteral("ERROR: %1 was stopped before it ended").arg(executable)
                   : QStringLiteral("ERROR: %1 ended with status %2").arg(executable).arg(exitCode);
}

}  // namespace EngineStartFailure
