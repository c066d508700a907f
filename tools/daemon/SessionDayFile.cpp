#include "daemon/SessionDayFile.h"

#include "platform/DateFormat.h"
#include "platform/MachineFacts.h"
#include "platform/SidecarLock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace SessionDayFile {
namespace {

const QByteArray kHeader = QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?><records>");
const QByteArray kClosingTag = QByteArrayLiteral("</records>");
constexpr qint64 kTail = 4096;
const QString kOperation = QStringLiteral("Scheduled Backup");
const QString kOperationNumber = QStringLiteral("2");

QString element(const char *name, const QString &value)
{
    return QStringLiteral("    <%1>%2</%1>\n").arg(QLatin1String(name), value.toHtmlEscaped());
}

bool writeNew(const QString &path, const QByteArray &record)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(kHeader + record) == kHeader.size() + record.size() &&
           file.commit();
}

}  // namespace

bool append(const QString &sessionLogsFolder, const Record &r)
{
    if (sessionLogsFolder.isEmpty())
        return false;
    const QString folder = QDir(sessionLogsFolder).filePath(QStringLiteral("LOGXML"));
    QDir().mkpath(folder);
    const QString content =
        QStringLiteral("Ref : Username - %1!!!Computer Name : %2!!!%3!!!%4 Start Time : %5!!!%4 End Time : %6!!!"
                       "Files considered for %4: %7!!!Files already present in your device: %8!!!")
            .arg(r.userName, MachineFacts::computerName(), r.status, kOperation, r.startTime,
                 DateFormat::format(r.end, QStringLiteral("MM/dd/yyyy hh:mm:ss a")))
            .arg(r.files)
            .arg(r.filesInSync);
    const QString dayKey = r.end.date().toString(QStringLiteral("MM-dd-yyyy"));
    const QByteArray record =
        (QStringLiteral("\n<record>\n") +
         element("datetime", DateFormat::format(r.end, QStringLiteral("MMM dd, yyyy hh:mm:ss a"))) +
         element("uname", r.userName) + element("status", r.status) + element("duration", r.duration) +
         element("files", QString::number(r.files)) + element("filesinsync", QString::number(r.filesInSync)) +
         element("content", content) + element("optype", kOperationNumber) +
         element("logfile", r.logFile.isEmpty() ? QStringLiteral("No File") : r.logFile) + element("logname", dayKey) +
         QStringLiteral("</record>        \n</records>"))
            .toUtf8();

    const auto lock = SidecarLock::acquire(folder + QStringLiteral("/"), SidecarLock::Mode::Exclusive);
    const QString path = QDir(folder).filePath(dayKey + QStringLiteral(".xml"));
    QFile file(path);
    if (!file.exists())
        return writeNew(path, record);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    const qint64 tailStart = std::max<qint64>(0, file.size() - kTail);
    file.seek(tailStart);
    const qsizetype closing = file.read(kTail).lastIndexOf(kClosingTag);
    if (closing < 0) {
        file.close();
        QString aside = path + QStringLiteral(".unreadable");
        for (int n = 2; QFileInfo::exists(aside); ++n)
            aside = path + QStringLiteral(".unreadable-%1").arg(n);
        return QFile::rename(path, aside) && writeNew(path, record);
    }
    const QByteArray bytes = record + "\r\n";
    return file.resize(tailStart + closing) && file.seek(tailStart + closing) && file.write(bytes) == bytes.size() &&
           file.flush();
}

}  // namespace SessionDayFile
