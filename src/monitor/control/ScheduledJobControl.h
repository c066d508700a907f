#pragma once

#include "monitor/schedules/TarnixSchedulerController.h"

#include <QDateTime>
#include <QString>

#include <functional>
#include <optional>

class DistributedNotificationCenter;

// What the status menu writes to steer the backup daemon: Backup now, pause
// and resume of the running job, disabling all jobs, the progress request and
// the cut-off time. Each operation answers the message the menu shows, if any;
// the files it writes are small UTF-8 texts and plists, replaced whole.
class ScheduledJobControl
{
public:
    struct Paths
    {
        QString schedulerStatus;       // "SchedulerStatus": "0" all disabled, "1" enabled
        QString schedulerProgress;     // "SchedulerProgress": "1" when the user asks to see progress
        QString schedulerPreferences;  // "ApplicationPreferenceFile": per user, the cut-off settings

        static Paths fromTexts();
    };

    // Backup now's ends.
    enum class BackupNow
    {
        Scheduled,
        AlreadyScheduled,
        NoBackupSet,
        NotSaved,
        InteractiveRunning
    };
    struct Answer
    {
        BackupNow result;
        QString message;  // shown to the user; empty for none
    };
    // Makes and stores the immediate record (the schedule store's Backup now):
    // none without a backup set; the store's outcome tells whether it was saved.
    struct StoredItem
    {
        std::optional<TarnixScheduleItem> item;
        TarnixSchedulerController::SaveOutcome saved;
    };
    using MakeImmediateItem = std::function<StoredItem()>;

    ScheduledJobControl(TarnixSchedulerController &store, DistributedNotificationCenter *notifications,
                        Paths paths = Paths::fromTexts());

    // The logged-in user of the last-user login plist ("TarnixUsername"; the second brand's "Username").
    QString currentUser() const;
    bool isRuvoUser(const QString &userName) const;

    Answer backupNow(const MakeImmediateItem &makeItem);
    // Creates the status plist when missing; false, with the modal message, while the user's interactive backup runs.
    bool shouldExecuteBackup(QString *message = nullptr) const;
    bool isBackupInProgress() const;
    // The progress request: "1" to the progress file and the notification; the message when nothing runs.
    QString showProgress(bool isRestoreProgress) const;

    // Pause: "-1" to both throttle files (the value they held kept, also on
    // disk, for the resume) and "1" to pause.txt. Resume: the kept value back
    // (both throttle files removed when there was none: no limit) and "0".
    void pauseResume(bool pause);
    // The current user's pause.txt reads "1".
    bool isPaused() const;
    // "0" (disable) or "1" to the status file.
    void removeAllSchedules(bool disable) const;
    bool areAllSchedulesDisabled() const;
    // The pause and stop items are enabled exactly while a scheduled job runs.
    bool enableDisableManageSubMenus() const { return mStore.isScheduleBackupInProgress(); }

    // The user of the running scheduled job; none when none runs.
    std::optional<QString> usernameOfJobInProgress() const;
    // Writes the cut-off request "5" once when the running job's user has a
    // cut-off time and it has come: during its minute, or since the last check
    // when a check was missed. A job started later that day runs on.
    bool triggerCutOffBackup(const QDateTime &now);

private:
    QString throttleFile(const QString &userName) const;

    TarnixSchedulerController &mStore;
    DistributedNotificationCenter *mNotifications;
    Paths mPaths;
    std::optional<QString> mCurrentThrottleValue;
    std::optional<QDateTime> mLastCutOffCheck;
    QDateTime mCutOffFired;  // the cut-off moment last acted on
};
