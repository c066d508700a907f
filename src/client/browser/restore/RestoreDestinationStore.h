#pragma once

#include <QString>
#include <QVariantMap>

// Where restores go and whether the user is asked each time: the saved
// destination (the RestorePath file in the user's folder), its default, and the
// "PromptRestoreDestinationPanel" preference in the monitor's preference file.
namespace RestoreDestinationStore {

inline const QString kPromptKey = QStringLiteral("PromptRestoreDestinationPanel");

// "<UserFolder>/RestorePath".
QString restorePathFile();
// "~/Tarnix Rizered Downloads" (second brand "~/Quellon Rizered Downloads").
QString defaultDestination();

// The destination to show: the saved one (made with its parents when missing),
// else the default (made likewise). A saved folder on a drive that is not
// attached is not made there: the default stands in.
QString loadDestination(const QString &restorePathFile = RestoreDestinationStore::restorePathFile());
// Saves the folder as the destination, atomically.
bool saveDestination(const QString &folder,
                     const QString &restorePathFile = RestoreDestinationStore::restorePathFile());

// The preference in a user's preferences (false when absent).
bool promptPreference(const QVariantMap &userPreferences);
// Sets the preference of the user in the preference file: read whole just before,
// changed, and written back atomically, with the file and the user's dictionary
// made when missing.
bool writePromptPreference(const QString &preferenceFile, const QString &userName, bool prompt);

}  // namespace RestoreDestinationStore
