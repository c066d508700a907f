#include "engine/command/EngineStartFailure.h"

#include "platform/PathTemplate.h"
#include "common/texts/QLLocalizedString.h"

namespace EngineStartFailure {

QString refusal(const EngineArguments &arguments)
{
    if (arguments.isComplete())
        return {};
    return PathTemplate::fillTemplate(QLLocalizedString(QStringLiteral("EngineArgumentMissing")), {arguments.missingValue});
}

QString launchFailure(const QString &executable, const QString &reason)
{
    return PathTemplate::fillTemplate(QLLocalizedString(QStringLiteral("EngineNotStarted")), {executable, reason});
}

}  // namespace EngineStartFailure
