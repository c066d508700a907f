#pragma once

#include "desktop/logs/SessionLogsFolder.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariantMap>

#include <functional>

// The day file of session-log records, "LOGXML/MM-dd-yyyy.xml" in the session-log
// folder: one record for every backup, restore, delete, rename and archive
// cleanup that ends, oldest first, which the log viewer lists. TXMainController
// keeps one and forwards its members of the same names to it.
//
// Values are escaped, so any name or path reads back as written. Appends and the
// log manager's rewrite take turns under the folder's lock. An append writes the
// record and a new closing tag over the old "</records>" in one write, so the
// file never lacks its tag; a file left without it goes on after its last whole
// record. One with neither near its end is set aside ("<name>.xml.unreadable")
// and the day starts a new file, so a damaged file is never made worse nor lost.
class SessionLogXmlFile
{
public:
    using Clock = std::function<QDateTime()>;
    using UserNameSource = std::function<QString()>;

    // Keys of the dictionary that sessionLogInformation takes.
    static inline const QString kOpType = QStringLiteral("opType");
    static inline const QString kTotalFileCount = QStringLiteral("TotalFileCount");
    static inline const QString kSyncFileCount = QStringLiteral("SyncFileCount");
    static inline const QString kLogFilePath = QStringLiteral("logFilePath");
    static inline const QString kDuration = QStringLiteral("duration");

    // userName answers the account's user name when a record is written.
    SessionLogXmlFile(
        SessionLogsFolder folder, UserNameSource userName, Clock clock = [] { return QDateTime::currentDateTime(); });

    // One record for an operation that ended: both counts are always written;
    // an empty path or duration is left out.
    void sendSessionLogInformationWithOperation(const QString &operation, int totalFileCount, int syncFileCount,
                                                const QString &sessionLogFilePath, const QString &duration);
    // Builds the record from a dictionary with the keys above and appends it.
    bool sessionLogInformation(const QVariantMap &information);
    // Adds a record (ending in "</records>") to today's file; false when nothing could be written.
    bool appendSessionXmlLogMessage(const QString &record);
    // Today's file; its folder is made when missing.
    QString logXmlFilePath() const;
    // The operation number of an operation name ("Backup" "1" ... "Periodic Cleanup" "10"); null for another name.
    static QString operationType(const QString &operation);

private:
    QString logXmlFilePath(const QDate &day) const;
    bool append(const QString &record, const QString &path) const;

    SessionLogsFolder mFolder;
    UserNameSource mUserName;
    Clock mClock;
};
