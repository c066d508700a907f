#include "common/logging/QLLogger.h"

#include "common/account/QLApplicationDelegate.h"
#include "common/logging/LogFile.h"
#include "common/texts/QLLocalizedString.h"
#include "platform/DateFormat.h"
#include "platform/PathStandardizer.h"

#include <QDateTime>
#include <QFileInfo>

namespace {

const QString kLogDatePattern = QStringLiteral("EEE LLL d yyyy h:m:s a");
const QString kSessionNameDatePattern = QStringLiteral("LL-d-yyyy-H-m-s");

}  // namespace

QString QLLogger::logDate() { return logDate(QDateTime::currentDateTime()); }

QString QLLogger::logDate(const QDateTime &when) { return DateFormat::format(when, kLogDatePattern); }

QString QLLogger::typeWord(int type)
{
    static const QString words[] = {QStringLiteral("Information"), QStringLiteral("Success"), QStringLiteral("Error"),
                                    QStringLiteral("Warning")};
    return type >= 0 && type <= 3 ? words[type] : QString();
}

QString QLLogger::typedLine(int type, const QString &message)
{
    return typeWord(type) + " : " + logDate() + " : " + message + " \n";
}

void QLLogger::logMsg(const QString &message, int type, const QString &file)
{
    LogFile::writeToFile(file, typedLine(type, message));
}

void QLLogger::logQuellonSession(const QString &message)
{
    if (message.isNull())
        return;
    logMsg(message, Information, QLLocalizedString(QStringLiteral("InteractiveSessionLog")));
}

void QLLogger::logMonitorTrace(const QString &message)
{
    if (message.isNull())
        return;
    LogFile::writeToFile(QLLocalizedString(QStringLiteral("MonitorTraceFilePath")), logDate() + " : " + message + " ");
}

void QLLogger::logInteractiveTrace(const QString &message)
{
    if (message.isNull())
        return;
    LogFile::writeToFile(
        PathStandardizer::standardizePath(QLLocalizedString(QStringLiteral("InteractiveTraceFilePath"))),
        logDate() + " : " + message + " ");
}

QString QLLogger::constructSessionFileNameforOperarion(int operationCode)
{
    static const char *const stems[] = {
        nullptr,
        "Backup",
        "Restore",
        "Rename",
        "Delete",
        "Automatic_Sync",
        "VersionRestore",
        "Put_Back",
        "Empty_Trash",
        "Rename",
        "Delete_Forever",
        "Continuous_Backup",
        "Create_Directory",
    };
    if (operationCode < 1 || operationCode > 12)
        return QStringLiteral("");
    return QLatin1String(stems[operationCode]) +
           DateFormat::format(QDateTime::currentDateTime(), kSessionNameDatePattern);
}

QString QLLogger::uniqueSessionFileName(int operationCode, const QString &folder, const QString &extension)
{
    const QString name = constructSessionFileNameforOperarion(operationCode);
    if (name.isEmpty())
        return name;
    QString candidate = name;
    for (int suffix = 2; QFileInfo::exists(folder + '/' + candidate + extension); ++suffix)
        candidate = name + '-' + QString::number(suffix);
    return candidate;
}

QString QLLogger::getUTT8StringFromFile(const QString &path) { return LogFile::readFileTail(path, kLogTailCharacters); }

QString QLLogger::mappedUserName()
{
    const QLApplicationDelegate *delegate = QLApplicationDelegate::current();
    return delegate ? delegate->currentquellonUserName().value_or(QString()) : QString();
}

QString QLLogger::actualUserName()
{
    const QLApplicationDelegate *delegate = QLApplicationDelegate::current();
    return delegate ? delegate->currenttarnixUserName().value_or(QString()) : QString();
}
