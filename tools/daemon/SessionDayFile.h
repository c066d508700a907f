#pragma once

#include <QDateTime>
#include <QString>

// The day file of session-log records ("LOGXML/MM-dd-yyyy.xml" in the
// session-log folder) that the log viewers list: the daemon adds one record
// for each scheduled backup, in the form the client writes for its own runs,
// under the same lock (".lock" in that folder). A file that lost its closing
// tag is set aside, never written over.
namespace SessionDayFile {

struct Record
{
    QDateTime end;
    QString userName;
    QString status;     // "Success", "Failure" or "Cancelled"
    QString startTime;  // "MM/dd/yyyy hh:mm:ss a"
    QString duration;   // "hh:mm:ss"
    long files = 0;
    long filesInSync = 0;
    QString logFile;
};

bool append(const QString &sessionLogsFolder, const Record &record);

}  // namespace SessionDayFile
