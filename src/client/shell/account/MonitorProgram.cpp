#include "client/shell/account/MonitorProgram.h"

#include "common/texts/QLLocalizedString.h"
#include "platform/PathStandardizer.h"
#include "platform/ProcessTable.h"

namespace MonitorProgram {

bool isRunning()
{
    return !ProcessTable::processIdsNamed(QLLocalizedString(QStringLiteral("MonitorProcessName"))).isEmpty();
}

QString launchFilePath()
{
    return PathStandardizer::standardizePath(QLLocalizedString(QStringLiteral("MonitorLaunchFilePath")));
}

}  // namespace MonitorProgram
