#pragma once

#include <QString>

// The user's own exclusions in the monitor's preference file, under the user
// name: "User specified Exclusion", a dictionary of stored-form path -> 1
// (excluded) or 0 (included again). The client writes it only while the
// monitor does not run; otherwise the monitor keeps the file.
namespace MonitorExclusionPreferences {

inline const QString kUserSpecifiedExclusion = QStringLiteral("User specified Exclusion");

// Sets the path's entry, making the user's dictionaries when the file has none
// yet; every other entry stays. True when the file was written.
bool writeFilePathToExcludePreferences(const QString &userName, const QString &storedPath, bool excluded);

}  // namespace MonitorExclusionPreferences
