#include "client/backup/now/BackupEndRules.h"

namespace BackupEndRules {

namespace {

const QString kViewLogHint = QStringLiteral("Click the 'View Log' button for details.");

}  // namespace

QString endMessage(End end, long failedFiles, const QString &errorText)
{
    if (end == End::Success) {
        if (failedFiles > 0)
            return QStringLiteral("Backup operation has completed, but %1 file(s) could not be backed up. %2")
                .arg(failedFiles)
                .arg(kViewLogHint);
        return QStringLiteral("Backup operation has completed. %1").arg(kViewLogHint);
    }
    const QString reason = errorText.trimmed();
    if (reason.size() > 1)
        return QStringLiteral("Backup operation has failed: %1\n\n%2").arg(reason, kViewLogHint);
    if (failedFiles > 0)
        return QStringLiteral("Backup operation has failed: %1 file(s) could not be backed up. %2")
            .arg(failedFiles)
            .arg(kViewLogHint);
    return QStringLiteral("Backup operation has failed. %1").arg(kViewLogHint);
}

}  // namespace BackupEndRules
