#pragma once

#include <QString>

// The keys of an account's entry in the multiple-computer state plist
// (MultiplePCStateFilePath): whether several computers back up into the
// account ("1"), or the brand's default folder is asked for ("2"), and the
// computer folder's name.
namespace MultipleComputerKeys {

inline const QString kEnableMultipleMacBackupKey = QStringLiteral("EnableMultipleMacBackupKey");
inline const QString kMultipleMacFolderName = QStringLiteral("MultipleMacFolderName");

}  // namespace MultipleComputerKeys
