#include "monitor/logs/MonitorLogger.h"

#include "common/logging/LogFile.h"
#include "common/logging/QLLogger.h"
#include "common/texts/Brand.h"
#include "common/texts/QLLocalizedString.h"

namespace MonitorLogger {
namespace {

void appendTrace(const QString &key, const QString &message)
{
    if (message.isNull())
        return;
    LogFile::writeToFile(QLLocalizedString(key), rewrite(QLLogger::logDate() + " : " + message + " "));
}

}  // namespace

QString rewrite(const QString &line)
{
    QString rewritten = line;
    const QString mapped = QLLogger::mappedUserName();
    if (!mapped.isEmpty())
        rewritten.replace(mapped, QLLogger::actualUserName(), Qt::CaseInsensitive);
    if (Brand::isTarnix())
        rewritten.replace(QStringLiteral("::quellon"), QStringLiteral("::tarnix"), Qt::CaseInsensitive);
    return rewritten;
}

void logMonitorTrace(const QString &message) { appendTrace(QStringLiteral("MonitorTraceFilePath"), message); }

void logInteractiveTrace(const QString &message) { appendTrace(QStringLiteral("InteractiveTraceFilePath"), message); }

}  // namespace MonitorLogger
