#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The files that keep a user's selection: the set file (backup set or sync set
// by mode), its history archive, the size file and its flag file, and the Time
// Machine reference list. Every write is atomic: readers (the session, the set
// lists, the monitor) see the old file or the new one, never a part.
class BackupSetFiles
{
public:
    BackupSetFiles(const QString &userName, bool backupMode);

    QString pathForDataFile() const;
    // "BackupSetHistory.plist" or "SyncSetHistory.plist" in the user's folder beside the set file.
    QString pathForHistoryFile() const;
    QString sizeFilePath() const;
    QString sizeFlagFilePath() const;
    QString timeMachineListPath() const;

    // The paths of a list file (set file, Time Machine list): empty when the file
    // is missing, none when it is there but cannot be read as a list.
    static std::optional<QStringList> readList(const QString &path);
    static bool writeList(const QString &path, const QStringList &paths);
    std::optional<QStringList> readHistory() const { return readHistory(pathForHistoryFile()); }
    static std::optional<QStringList> readHistory(const QString &historyPath);
    bool writeHistory(const QStringList &paths) const { return writeHistory(pathForHistoryFile(), paths); }
    static bool writeHistory(const QString &historyPath, const QStringList &paths);

private:
    QString userPath(const QString &key) const;

    QString mUserName;
    bool mBackupMode;
};
