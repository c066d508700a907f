#include "common/logging/QLBackupProgressLogger.h"

#include "common/context/ProgramContext.h"

#include "common/logging/LogFile.h"
#include "common/logging/QLLogger.h"
#include "common/texts/QLLocalizedString.h"
#include "platform/PathStandardizer.h"

#include <QCoreApplication>

namespace {

QString traceLine(const QString &message) { return QLLogger::logDate() + " : " + message + " \n"; }

QString standardizedLogPath(const char *key)
{
    return PathStandardizer::standardizePath(QLLocalizedString(QLatin1String(key)));
}

}  // namespace

QLBackupProgressLogger::~QLBackupProgressLogger() { flushAll(); }

QLBackupProgressLogger &QLBackupProgressLogger::progressLogger() { return ProgramContext::current().progressLogger(); }

void QLBackupProgressLogger::writeOut(Buffer &buffer)
{
    QMutexLocker lock(&buffer.lock);
    if (!buffer.text.isEmpty())
        LogFile::writeToFile(buffer.destination, buffer.text);
    buffer.text.clear();
}

void QLBackupProgressLogger::append(Buffer &buffer, const QString &line, const QString &destination, bool flush)
{
    QMutexLocker lock(&buffer.lock);
    // Lines meant for another file go out before the new ones come in.
    if (!buffer.text.isEmpty() && buffer.destination != destination)
        writeOut(buffer);
    buffer.destination = destination;
    buffer.text += line;
    if (flush || buffer.text.size() >= kFlushThreshold)
        writeOut(buffer);
}

void QLBackupProgressLogger::appendSessionLine(const QString &line, const QString &destination, bool flush)
{
    append(mProgressedBackupFilesNames, line, destination, flush);
}

void QLBackupProgressLogger::logDaemonSession(const QString &message, bool flush)
{
    appendSessionLine(QLLogger::typedLine(QLLogger::Information, message),
                      QLLocalizedString(QStringLiteral("ScheduledBackupLog")), flush);
}

void QLBackupProgressLogger::logSyncInteractiveSession(const QString &message, bool flush)
{
    appendSessionLine(QLLogger::typedLine(QLLogger::Information, message),
                      standardizedLogPath("SyncInteractiveSessionLog"), flush);
}

void QLBackupProgressLogger::logQuellonSession(const QString &message, bool flush)
{
    appendSessionLine(QLLogger::typedLine(QLLogger::Information, message),
                      QLLocalizedString(QStringLiteral("InteractiveSessionLog")), flush);
}

void QLBackupProgressLogger::writeSessionLog(const QString &message, const QString &file, bool flush)
{
    Buffer &buffer = mProgressedSessionFilesNames;
    QMutexLocker lock(&buffer.lock);
    if (message.isNull()) {
        if (!buffer.text.isEmpty() && buffer.destination != file)
            writeOut(buffer);
        buffer.destination = file;
        writeOut(buffer);
        return;
    }
    append(buffer, '[' + QLLogger::logDate(mClock()) + "] " + message + " \n", file, flush);
}

void QLBackupProgressLogger::logInteractiveTrace(const QString &message, bool flush)
{
    Buffer &buffer = mInteractiveTraceMsgs;
    const QString destination = standardizedLogPath("InteractiveTraceFilePath");
    QMutexLocker lock(&buffer.lock);
    if (!message.isNull()) {
        append(buffer, traceLine(message), destination, flush);
        return;
    }
    if (flush) {
        buffer.destination = destination;
        writeOut(buffer);
    }
}

void QLBackupProgressLogger::logDaemonTrace(const QString &message, bool flush)
{
    if (message.isNull())
        return;  // a null message never writes the background-job buffer out
    QString line = traceLine(message);
    const QString mapped = QLLogger::mappedUserName();
    if (!mapped.isEmpty())
        line.replace(mapped, QLLogger::actualUserName(), Qt::CaseInsensitive);
    append(mDaemonTraceMsgs, message.isEmpty() ? QString() : line,
           QLLocalizedString(QStringLiteral("DaemonTraceFilePath")), flush);
}

void QLBackupProgressLogger::flushAll()
{
    for (Buffer *buffer :
         {&mProgressedBackupFilesNames, &mProgressedSessionFilesNames, &mInteractiveTraceMsgs, &mDaemonTraceMsgs})
        writeOut(*buffer);
}
