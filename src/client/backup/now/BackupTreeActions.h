#pragma once

#include <QString>

// What Backup Now asks of the local tree (its FileSystemController): the drive
// chosen in the volume chooser and the default set.
class BackupTreeActions
{
public:
    virtual ~BackupTreeActions() = default;

    // The title of the drive chosen in the volume chooser; "" when none.
    virtual QString selectedVolumeTitle() const = 0;
    // Checks and saves the default set; the saved set file is announced as after any save.
    virtual void addDefaultBackupset() = 0;
    // Waits until every change of the selection is in the set file (the tree writes it on a
    // worker); the set file is read right after.
    virtual void finishSaving() {}
};
