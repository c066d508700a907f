#pragma once

#include <QMutex>
#include <QString>

// The notice board of the operation under way (backup, restore, delete,
// rename, version restore): its start time, its final status, the folder for
// session uploads and its session log. The session-log record writer reads the
// start time and status back. One for the program, in its context
// (ProgramContext.h); flows set and read it from several threads, so every
// field is read and written under one lock and handed out as a copy.
class OnlineLogController
{
public:
    static OnlineLogController &SharedOnlineLogController();

    // The start-time text, in the session-log time form "LL/dd/yyyy hh:mm:ss a".
    void setOperationStartTime(const QString &startTime);
    // Null before the first setOperationStartTime.
    QString operationStartTime() const;
    // "Success", "Failure" or "Cancelled".
    void setOperationStatus(const QString &status);
    QString operationStatus() const;

    // The session-upload folder the flows set: "<RootUserFolder>/SessionUpload/Int".
    static QString userSessionUploadPath();
    void SetSessionPath(const QString &path);
    QString SessionPath() const;
    // The operation's session log; null for none.
    void SetOperationSessionFile(const QString &path);
    QString OperationSessionFile() const;
    // The temporary folder a session upload prepares its files in.
    void SetTempSessionFilelocation(const QString &path);
    QString TempSessionFilelocation() const;

    // A line of the operation's messages; the session upload sends the session
    // log file itself, so no message text is kept.
    void AppendOperationMessage(const QString &) {}

    // The result of the last session upload. 1 (done) removes the temporary
    // folder with everything in it; a link there is removed, never followed.
    void OperationState(int state);
    int state() const;

private:
    // Every field is written and read under the one lock.
    void store(QString &field, const QString &value);
    QString load(const QString &field) const;

    mutable QMutex mMutex;
    QString mOperationStartTime;
    QString mOperationStatus;
    QString mSessionPath;
    QString mOperationSessionFile;
    QString mTempSessionFilelocation;
    int mState = 0;
};
