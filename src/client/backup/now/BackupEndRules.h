#pragma once

#include <QString>

// What the user is told at the end of a backup session. The alert follows how the
// session really ended: a session that stored nothing is never called completed. (A
// session the user stopped ends without an alert.)
//
//   endMessage(End::Success, 0, "")          -> "Backup operation has completed. Click the 'View Log' button for
//   details." endMessage(End::Success, 3, "")          -> "Backup operation has completed, but 3 file(s) could not be
//   backed up. ..." endMessage(End::Failure, 0, "Permission denied")
//                                            -> "Backup operation has failed: Permission denied ..."
namespace BackupEndRules {

enum class End
{
    Success,
    Failure
};

// The text of the alert that offers the log at a session's end. An error text of one character or less says nothing and
// is left out.
QString endMessage(End end, long failedFiles, const QString &errorText);

}  // namespace BackupEndRules
