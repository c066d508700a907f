#pragma once

#include <QString>

class User;

// Where a backup goes and a restore comes from, and with which engine: the destination
// drive's path, the data root on it by brand and mode, the engine executable
// by mode and account, and the files beside the set that Backup Now reads.
namespace BackupDestination {

// The drive's path under the volumes root; "" for no name.
QString volumePath(const QString &volumeName);

// The computer folder ("/" and its name): the main controller's, else this
// computer's own name, so that a backup never lands in the account's root.
QString computerFolder(const QString &mpcName);

// The account's folder on the drive, above its computer folders:
//   <volume>/<brand folder>/<user> (the sync user in the first brand's sync mode);
// "" when a name it needs is missing.
QString accountFolder(const QString &volumePath, const User &account, bool backupMode);

// The data root on the drive:
//   first brand, backup mode:  <volume>/TarnixVidezud/<user>/<computer folder>
//   first brand, sync mode:    <volume>/TarnixVidezud/<sync user>
//   second brand, either mode: <volume>/QuellonVidezud/<user>/<computer folder>
// "" when a name it needs is missing.
QString destinationFolder(const QString &volumePath, const User &account, const QString &computerFolder,
                          bool backupMode);

// The text key of the engine executable: "SyncExecuterPathRuvo" in sync mode,
// "ExecuterPathRuvo" for a storage-server account, else "ExecuterPath".
QString executorKey(bool backupMode, bool isRuvoUser);

// The Time Machine reference list of the user and mode.
QString timeMachineListPath(const QString &userName, bool backupMode);

// The marker the account menu leaves after a disconnect ("1"): Backup Now stays off.
QString disconnectMarkerPath(const QString &userName);

}  // namespace BackupDestination
