#include "desktop/logs/SessionLogXmlFile.h"

#include "common/logging/OnlineLogController.h"
#include "desktop/logs/DayFileLock.h"
#include "desktop/logs/XmlText.h"
#include "platform/DateFormat.h"
#include "platform/MachineFacts.h"
#include "platform/PropertyList.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QtDebug>

#include <unistd.h>

namespace {

const QByteArray kClosingTag = QByteArrayLiteral("</records>");
const QByteArray kRecordEnd = QByteArrayLiteral("</record>");
const QByteArray kHeader = QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?><records>");
// Only whitespace follows the closing tag in a sound file; it lies well inside this tail.
constexpr qint64 kTailBytes = 4096;

QString recordLine(const char *name, const QString &value)
{
    return QStringLiteral("    <%1>%2</%1>\n").arg(QLatin1String(name), XmlText::escapedXmlText(value));
}

bool writeNewFile(const QString &path, const QString &record)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !file.setPermissions(PropertyList::kOwnerReadWrite))
        return false;
    file.write(kHeader + record.toUtf8());
    return file.commit();
}

// Moves a file that has lost its closing tag out of the way, under a name the viewer does not list.
bool setAside(const QString &path)
{
    QString aside = path + QStringLiteral(".unreadable");
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = path + QStringLiteral(".unreadable-%1").arg(n);
    qWarning().noquote() << "session-log day file without its closing tag set aside as" << aside;
    return QFile::rename(path, aside);
}

}  // namespace

SessionLogXmlFile::SessionLogXmlFile(SessionLogsFolder folder, UserNameSource userName, Clock clock)
    : mFolder(std::move(folder))
    , mUserName(std::move(userName))
    , mClock(std::move(clock))
{}

void SessionLogXmlFile::sendSessionLogInformationWithOperation(const QString &operation, int totalFileCount,
                                                               int syncFileCount, const QString &sessionLogFilePath,
                                                               const QString &duration)
{
    QVariantMap information{{kTotalFileCount, QString::number(totalFileCount)},
                            {kSyncFileCount, QString::number(syncFileCount)}};
    if (!operation.isEmpty())
        information.insert(kOpType, operation);
    if (!sessionLogFilePath.isEmpty())
        information.insert(kLogFilePath, sessionLogFilePath);
    if (!duration.isEmpty())
        information.insert(kDuration, duration);
    sessionLogInformation(information);
}

bool SessionLogXmlFile::sessionLogInformation(const QVariantMap &information)
{
    const QDateTime now = mClock();
    const QString computerName = MachineFacts::computerName();
    const OnlineLogController &onlineLog = OnlineLogController::SharedOnlineLogController();
    const QString status = onlineLog.operationStatus();
    const QString operation = information.value(kOpType).toString();
    const QString userName = mUserName();

    QString record = QStringLiteral("\n<record>\n");
    record += recordLine("datetime", DateFormat::format(now, QStringLiteral("MMM dd, yyyy hh:mm:ss a")));
    record += recordLine("uname", userName);
    record += recordLine("status", status);
    if (information.contains(kDuration))
        record += recordLine("duration", information.value(kDuration).toString());

    QString content = QStringLiteral("Ref : Username - %1!!!Computer Name : %2!!!%3!!!%4 Start Time : %5!!!"
                                     "%4 End Time : %6!!!")
                          .arg(userName, computerName, status, operation, onlineLog.operationStartTime(),
                               DateFormat::format(now, QStringLiteral("MM/dd/yyyy hh:mm:ss a")));
    QString counts;
    if (information.contains(kTotalFileCount)) {
        const QString total = information.value(kTotalFileCount).toString();
        content += QStringLiteral("Files considered for %1: %2!!!").arg(operation, total);
        counts += recordLine("files", total);
    }
    if (information.contains(kSyncFileCount)) {
        const QString present = information.value(kSyncFileCount).toString();
        content += (operation == QLatin1String("Backup")
                        ? QStringLiteral("Files already present in your device: %1!!!")
                        : QStringLiteral("Files already present in the restore location: %1!!!"))
                       .arg(present);
        counts += recordLine("filesinsync", present);
    }
    record += counts;
    record += recordLine("content", content);
    const QString optype = operationType(operation);
    if (!optype.isNull())
        record += recordLine("optype", optype);
    record += recordLine("logfile", information.value(kLogFilePath, QStringLiteral("No File")).toString());
    record += recordLine("logname", SessionLogsFolder::dayKey(now.date()));
    record += QStringLiteral("</record>        \n</records>");
    // The record goes into the file of the day it names, even when midnight passes meanwhile.
    return append(record, logXmlFilePath(now.date()));
}

bool SessionLogXmlFile::appendSessionXmlLogMessage(const QString &record) { return append(record, logXmlFilePath()); }

QString SessionLogXmlFile::logXmlFilePath() const { return logXmlFilePath(mClock().date()); }

QString SessionLogXmlFile::logXmlFilePath(const QDate &day) const
{
    SessionLogsFolder::ensureFolder(mFolder.logXmlFolder());
    return mFolder.dayFilePath(SessionLogsFolder::dayKey(day));
}

bool SessionLogXmlFile::append(const QString &record, const QString &path) const
{
    const DayFileLock lock(mFolder.logXmlFolder());
    QFile file(path);
    if (!file.exists())
        return writeNewFile(path, record);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        return false;
    const qint64 tailStart = qMax<qint64>(0, file.size() - kTailBytes);
    file.seek(tailStart);
    const QByteArray tail = file.read(kTailBytes);
    // The record goes where the closing tag was; a file an append left without
    // one goes on after its last whole record.
    qsizetype at = tail.lastIndexOf(kClosingTag);
    if (at < 0 && (at = tail.lastIndexOf(kRecordEnd)) >= 0)
        at += kRecordEnd.size();
    if (at < 0) {
        file.close();
        return setAside(path) && writeNewFile(path, record);
    }
    // The record brings its own closing tag. Record and tag go in one write over
    // the old tag, so that no moment leaves the file without one.
    const QByteArray bytes = record.toUtf8() + "\r\n";
    const qint64 offset = tailStart + at;
    if (::pwrite(file.handle(), bytes.constData(), size_t(bytes.size()), offset) != bytes.size()) {
        // A full drive may take part of it: the old end goes back as it was.
        const QByteArray oldEnd = tail.mid(at);
        if (::pwrite(file.handle(), oldEnd.constData(), size_t(oldEnd.size()), offset) == oldEnd.size())
            file.resize(offset + oldEnd.size());
        return false;
    }
    return file.size() <= offset + bytes.size() || file.resize(offset + bytes.size());
}

QString SessionLogXmlFile::operationType(const QString &operation)
{
    static const char *const operations[] = {"Backup",  "Scheduled Backup", "Restore",           "Search",
                                             "Delete",  "Rename",           "Continuous Backup", "Archive Cleanup",
                                             "PutBack", "Periodic Cleanup"};
    for (size_t i = 0; i < std::size(operations); ++i) {
        if (operation == QLatin1String(operations[i]))
            return QString::number(i + 1);
    }
    return {};
}
