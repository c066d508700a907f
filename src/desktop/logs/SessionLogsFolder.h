#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

// The one folder of session logs of the running brand (the application file
// SessionLogsFolderPath): the daily XML files in "LOGXML", and one sub-folder per
// operation ("Backup", "Archive Cleanup") for the session log files. The writers
// and the log viewer both take their paths from here, so the viewer shows what
// the client wrote in either brand.
class SessionLogsFolder
{
public:
    // The folder at the given absolute path (with or without a trailing "/").
    // Without one (a missing key) every path below is empty and nothing is written.
    explicit SessionLogsFolder(const QString &path);
    // The folder that the running brand's texts name.
    static SessionLogsFolder fromApplicationFiles();

    QString path() const { return mPath; }
    QString logXmlFolder() const { return subfolder(QStringLiteral("LOGXML")); }
    // The day file of a day key: "LOGXML/<key>.xml".
    QString dayFilePath(const QString &dayKey) const { return within(logXmlFolder(), dayKey + QStringLiteral(".xml")); }
    // The key of a day, "MM-dd-yyyy": the name of its file and the logname of its records.
    static QString dayKey(const QDate &day) { return day.toString(QStringLiteral("MM-dd-yyyy")); }

    // The folder of one operation's session log files, such as "Backup".
    QString subfolder(const QString &name) const { return within(mPath, name); }

    // A new session log file of an operation, named by its start time
    // ("<folder>/<operation>/LL-dd-yyyy-HH-mm-ss", no extension); the
    // operation's folder is made when missing.
    QString newSessionLogPath(const QString &operation, const QDateTime &startTime) const;

    // True when the path names an item inside this folder (symbolic links in
    // its parents resolved). Only such items are ever deleted for the user.
    bool contains(const QString &path) const;

    // Creates the folder with every missing parent; the folders it creates are
    // private to the user (0700). True when the folder exists afterwards.
    static bool ensureFolder(const QString &path);

private:
    static QString within(const QString &folder, const QString &name)
    {
        return folder.isEmpty() ? QString() : folder + '/' + name;
    }

    QString mPath;
};
