#pragma once

#include <QString>

class QLApplicationDelegate;

// What the index manager needs of the main controller for one tick, read once
// so that the writers of the tick agree on it.
struct IndexContext
{
    QString userName;  // whose main index: the account's in backup mode, the sync user's in sync mode
    bool backupMode = true;
    QString computerFolder;  // "/Office", or empty
    QString backupPath;      // the data root on the drive
    QString indexFolder;     // where the journals and the main index lie; empty when unknown

    static IndexContext of(QLApplicationDelegate &mainController);
    // Whether journals can be written and merged.
    bool isUsable() const { return !userName.isEmpty() && !indexFolder.isEmpty(); }
};
