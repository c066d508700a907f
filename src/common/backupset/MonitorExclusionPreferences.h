#pragma once

#include <QString>
#include <QStringList>

// The user's own exclusions in the monitor's preference file, under the user
// name: "User specified Exclusion", a dictionary of stored-form path -> 1
// (excluded) or 0 (included again). The client writes it only while the
// monitor does not run; otherwise the monitor keeps the file.
namespace MonitorExclusionPreferences {

// Keys of the monitor's preference file. Top level:
inline const QString kShowHiddenFilesKey = QStringLiteral("ShowHiddenFilesKey ");  // the blank belongs to the key
inline const QString kEnableExcludeHiddenFilesKey = QStringLiteral("enableExcludeHiddenFilesKey");
// In the user's dictionary:
inline const QString kDefaultExclusion = QStringLiteral("Default Exclusion");
inline const QString kUserSpecifiedExclusion = QStringLiteral("User specified Exclusion");
inline const QString kPartialFileExclusion = QStringLiteral("Partial File Exclusion");
inline const QString kEnableVersion = QStringLiteral("EnableVersion");
inline const QString kPromptRestoreDestinationPanel = QStringLiteral("PromptRestoreDestinationPanel");

// Distributed notifications that keep the client's tree and the monitor's
// Exclude pane in step: posted by the client, and posted by the monitor.
inline const QString kExclusionFromClient = QStringLiteral("TarnixMonitorPortableAddRemoveFileToExclude");
inline const QString kExclusionFromMonitor = QStringLiteral("TarnixPortableAddRemoveFileToExclude");
inline const QString kTimeMachineFromMonitor = QStringLiteral("TarnixPortableTimeMachineFileBackup");
// The client changed its Time Machine list, or its mode (versions are kept in backup mode only).
inline const QString kTimeMachineFromClient = QStringLiteral("TarnixPortableMonitorTimeMachineFileBackup");
inline const QString kShouldEnableVersionsButton = QStringLiteral("ShouldEnableVerionsButton");

// Sets the path's entry, making the user's dictionaries when the file has none
// yet; every other entry stays. True when the file was written.
bool writeFilePathToExcludePreferences(const QString &userName, const QString &storedPath, bool excluded);

// The user's excluded paths (stored form): the entries whose value is 1; none when the
// file or the user's dictionary is missing.
QStringList userSpecifiedExclusions(const QString &userName);

}  // namespace MonitorExclusionPreferences
