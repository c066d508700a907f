#include "monitor/logs/MonitorProgressLogger.h"

#include "common/logging/LogFile.h"
#include "common/logging/QLLogger.h"
#include "common/texts/QLLocalizedString.h"
#include "monitor/logs/MonitorLogger.h"

MonitorProgressLogger::~MonitorProgressLogger()
{
    LogFile::writeToFile(QLLocalizedString(QStringLiteral("InteractiveTraceFilePath")), mInteractiveTrace.text);
    LogFile::writeToFile(QLLocalizedString(QStringLiteral("DaemonTraceFilePath")), mDaemonTrace.text);
}

void MonitorProgressLogger::logInteractiveTrace(const QString &message, bool flush)
{
    append(mInteractiveTrace, QStringLiteral("InteractiveTraceFilePath"), message, flush);
}

void MonitorProgressLogger::logDaemonTrace(const QString &message, bool flush)
{
    if (!message.isEmpty())
        append(mDaemonTrace, QStringLiteral("DaemonTraceFilePath"), message, flush);
}

void MonitorProgressLogger::append(Buffer &buffer, const QString &key, const QString &message, bool flush)
{
    if (message.isNull())
        return;
    // A lock where the monitor's build hands the append to the main thread: either keeps lines whole.
    const std::lock_guard guard(buffer.lock);
    buffer.text += MonitorLogger::rewrite(QLLogger::logDate(mClock()) + " : " + message + " \n");
    if (buffer.text.size() >= kFlushThreshold || flush) {
        LogFile::writeToFile(QLLocalizedString(key), buffer.text);
        buffer.text.clear();
    }
}
