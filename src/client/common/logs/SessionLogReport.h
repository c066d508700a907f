#pragma once

#include <QString>

// What an ended operation tells the main controller, which appends it to the
// day file of session-log records (sendSessionLogInformationWithOperation).
struct SessionLogReport
{
    QString operation;  // "Backup", "Archive Cleanup"
    int totalFileCount = 0;
    int syncFileCount = 0;
    QString sessionLogFilePath;
    QString duration;  // "hh:mm:ss" or "--:--:--"

    // The report of an operation that ends at endTime ("LL/dd/yyyy hh:mm:ss a"):
    // its duration runs from the start time the operation left with the shared
    // OnlineLogController.
    static SessionLogReport of(const QString &operation, int totalFileCount, int syncFileCount,
                               const QString &sessionLogFilePath, const QString &endTime);
};
