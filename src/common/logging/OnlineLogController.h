#pragma once

#include <QMutex>
#include <QString>

// Keeps the start time and the end status of the running session for the
// session uploader. One for the program, in its context (ProgramContext.h).
class OnlineLogController
{
public:
    static OnlineLogController &SharedOnlineLogController();

    // The start-time text, in the session-log time form "LL/dd/yyyy hh:mm:ss a".
    void setOperationStartTime(const QString &startTime);
    // Null before the first setOperationStartTime.
    QString operationStartTime() const;
    // "Success" or "Cancelled".
    void setOperationStatus(const QString &status);
    QString operationStatus() const;

private:
    mutable QMutex mMutex;
    QString mOperationStartTime;
    QString mOperationStatus;
};
