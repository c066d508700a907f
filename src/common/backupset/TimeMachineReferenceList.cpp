#include "common/backupset/TimeMachineReferenceList.h"

#include "common/backupset/BackupSetFiles.h"

#include <QFileInfo>

const QString TimeMachineReferenceList::kDatabaseFolderName = QStringLiteral("Backups.backupdb");

TimeMachineReferenceList::TimeMachineReferenceList(const QString &path)
    : mPath(path)
{}

bool TimeMachineReferenceList::isDatabaseFolder(const QString &path)
{
    return path.section('/', -1) == kDatabaseFolderName;
}

bool TimeMachineReferenceList::exists() const { return QFileInfo::exists(mPath); }

QStringList TimeMachineReferenceList::paths() const { return BackupSetFiles::readList(mPath).value_or(QStringList()); }

bool TimeMachineReferenceList::add(const QString &storedPath)
{
    QStringList entries = paths();
    if (entries.contains(storedPath))
        return true;
    entries.append(storedPath);
    return BackupSetFiles::writeList(mPath, entries);
}

bool TimeMachineReferenceList::remove(const QString &storedPath)
{
    QStringList entries = paths();
    return exists() && entries.removeAll(storedPath) > 0 && BackupSetFiles::writeList(mPath, entries);
}

bool TimeMachineReferenceList::clear()
{
    return exists() && !paths().isEmpty() && BackupSetFiles::writeList(mPath, {});
}
