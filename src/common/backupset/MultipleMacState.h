#pragma once

#include <QString>

// The multiple-computer state file: user name -> this computer's folder on a
// drive that several computers back up to. The monitor writes it; the client
// and the schedule editor read it.
namespace MultipleMacState {

inline const QString kEnableMultipleMacBackupKey = QStringLiteral("EnableMultipleMacBackupKey");  // "1": on
inline const QString kMultipleMacFolderName = QStringLiteral("MultipleMacFolderName");

}  // namespace MultipleMacState
