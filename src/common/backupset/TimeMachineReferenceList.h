#pragma once

#include <QString>
#include <QStringList>

// The list of selected Time Machine databases ("Backups.backupdb" folders) of
// one user and mode, shared with the monitor: stored-form paths, compared
// exactly, so that one drive's database never stands for another's.
class TimeMachineReferenceList
{
public:
    static const QString kDatabaseFolderName;  // "Backups.backupdb"

    explicit TimeMachineReferenceList(const QString &path);

    static bool isDatabaseFolder(const QString &path);
    bool exists() const;
    QStringList paths() const;
    // Adds the path; a missing list is created with it.
    bool add(const QString &storedPath);
    // Removes the entry equal to the path; false when there is none or no list.
    bool remove(const QString &storedPath);
    // Empties a list that holds entries; false when there was nothing to empty.
    bool clear();

private:
    QString mPath;
};
