#pragma once

#include <QString>

// The one-word command file (".launch", per user) that the client leaves for
// the monitor to act on when it starts. The word is read whole, acted on once,
// and the file removed. No word is ever run as a command.
namespace MonitorLaunchWord {

enum class Action
{
    None,                      // no file
    OpenPreferences,           // any other word, an empty or unreadable file
    OpenExclusionPreferences,  // "ViewExclude"
    LockAndOpenPreferences,    // "DisablePreferencesNotification"
    SendErrorReport,           // "sendErrorReport"
};

// What a word asks for.
Action actionForWord(const QString &word);

// Reads and removes the file; None when there is none.
Action take(const QString &path);

}  // namespace MonitorLaunchWord
