#pragma once

#include <QString>

// Keys of a user's entry in the multiple-computer state plist ("MultiplePCStateFilePath"):
// whether backups of several computers are on ("1") and the folder of this computer.
namespace MultipleComputerKeys {

inline const QString kEnableMultipleMacBackupKey = QStringLiteral("EnableMultipleMacBackupKey");
inline const QString kMultipleMacFolderName = QStringLiteral("MultipleMacFolderName");

}  // namespace MultipleComputerKeys
