#pragma once

#include <QDateTime>
#include <QList>
#include <QSet>
#include <QString>

#include <optional>

// The daemon's session logs in the session-log folder, newest first. The
// daemon names each "<operation> MM-dd-yyyy-HH-mm[-ss]"; the folder also holds
// the client's folders ("Backup", "LOGXML"), which are not logs, and a file
// of any other name is none of the daemon's: both are left out, as are hidden files.
//
//   "Backup 01-02-2013-10-15-30" -> Backup, 2 January 2013 10:15:30
//   "Backup 01-03-2013-09-05"    -> Backup, 3 January 2013 09:05 (listed first)
class SessionLogList
{
public:
    struct Row
    {
        QString filePath;     // "Filepath"
        QString description;  // "Description": the name up to its first blank
        QDateTime startTime;  // "StartTime"
        bool type = false;    // "Type"
    };

    explicit SessionLogList(QString folder)
        : mFolder(std::move(folder))
    {}

    // The row of a file name; none for a name the daemon does not write.
    static std::optional<Row> rowForName(const QString &folder, const QString &name);

    // Lists the folder again; one that cannot be listed gives no rows.
    void reloadSessionLogs();
    const QList<Row> &rows() const { return mRows; }
    QString folder() const { return mFolder; }

    // Removes the files of the rows; a row whose file could not be removed
    // stays. Answers the rows removed.
    int deleteRows(const QSet<int> &rows);

private:
    QString mFolder;
    QList<Row> mRows;
};
