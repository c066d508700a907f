#pragma once

#include "monitor/schedules/ScheduleArchive.h"
#include "monitor/schedules/TarnixScheduleItem.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// The monitor's keeper of schedules: a working list of every user's records,
// read from the schedules archive, and the scheduler state file through which
// the monitor asks the backup daemon to run immediate jobs or stop the running
// one. The daemon rewrites the same archive, so every change is made under the
// archive's shared lock on a fresh read of the file, and the file is replaced
// atomically: a change the daemon made is never written over. While any record
// is In progress nothing is saved, and the caller hears so.
class TarnixSchedulerController
{
public:
    struct Paths
    {
        QString archive;             // "SchedulerSettingsFile"
        QString schedulerState;      // "SchedulerState"
        QString multipleComputers;   // "MultiplePCStateFilePath"
        QString defaultDestination;  // "MyTarnix" / "MyQuellon"

        static Paths fromTexts();  // the running brand's files
    };

    enum class Saved
    {
        Yes,
        HeldBack,
        Failed
    };
    struct SaveOutcome
    {
        Saved result = Saved::Yes;
        QString message;  // why nothing was saved
        bool saved() const { return result == Saved::Yes; }
    };

    // State file values.
    static inline const QString kStateIdle = QStringLiteral("0");
    static inline const QString kStateImmediate = QStringLiteral("2");
    static inline const QString kStateStop = QStringLiteral("3");
    static inline const QString kStateCutOff = QStringLiteral("5");

    static inline const QString kHeldBackMessage =
        QStringLiteral("The change was not saved: a scheduled job is in progress. Try again when it has finished.");

    explicit TarnixSchedulerController(Paths paths = Paths::fromTexts());

    const Paths &paths() const { return mPaths; }

    // --- The working list ---

    // Replaces the working list with the archive's records (none when it is missing or damaged).
    void tarnixInitializeSchedulerSettings();
    const QList<TarnixScheduleItem> &configuredSchedules() const { return mConfiguredSchedules; }
    // Why the last read found no usable archive although the file exists; empty otherwise.
    QString archiveError() const { return mArchiveError; }
    // The working records of one user.
    QList<TarnixScheduleItem> tarnixSchedulerDetailsForUser(const QString &userName) const;
    // The archive's records of all users; none when it cannot be read.
    std::optional<QList<TarnixScheduleItem>> tarnixSchedulerDetailsForAllUsers() const;
    // Whether a record of the archive file (not the working list) is In progress.
    bool isScheduleBackupInProgress() const;
    // Reloads, then recomputes the destinations (saved once, and only on a change).
    void ReloadSchedules();

    // --- Changes, each saved under the save rule ---
    // A record that fails its checks (TarnixScheduleItem::validationError) is refused before anything is read or
    // written.

    SaveOutcome tarnixaddSchedulerDetails(const TarnixScheduleItem &record);
    // Removes the records of these identities (TarnixScheduleItem::identityKey).
    SaveOutcome tarnixDeleteSchedulerDeatils(const QStringList &identities);
    // Replaces the first record that the edited copy stood for (same user; for a
    // one-off copy also equal to it; in either case of the copy's status) with
    // `replacement`; saves also when none was replaced.
    SaveOutcome tarnixUpdateSchedule(const TarnixScheduleItem &editedCopy, const TarnixScheduleItem &replacement);
    // Puts each replacement in the place of the archived record of the
    // identity it is filed under (TarnixScheduleItem::identityKey, taken before
    // the edit); that record's status (the daemon's) stays. A record no longer
    // archived is not brought back.
    SaveOutcome tarnixReplaceSchedules(const QHash<QString, TarnixScheduleItem> &replacements);
    // Recomputes each record's destination from the multiple-computer state.
    SaveOutcome updateMultipleMacStateOfScheduledItem();
    // Writes the working list as it stands.
    SaveOutcome saveSchedulerDetails();
    // After a one-off job was stored: the user's one-off jobs become one, at the
    // latest of their times, last in the list (ScheduleDateRules); nothing is
    // written when there is nothing to merge or one of them runs.
    SaveOutcome checkExistanceOfOnceForSameUser(const TarnixScheduleItem &saved);

    // The list window's delete: refused for a running record; after a saved
    // delete the state file is reset to "0" unless it reads "0".
    SaveOutcome deleteSchedules(const QStringList &identities);

    // --- The scheduler state file ---

    // Its text; none when it is missing or unreadable.
    std::optional<QString> schedulerState() const;
    bool writeSchedulerState(const QString &value) const;
    // "3", only while a job is In progress: a stale stop would end the next job.
    bool requestStopOfRunningJob() const;

private:
    // Applies the change to a fresh read of the archive under the lock and
    // saves it by the save rule; the working list becomes what the file holds.
    SaveOutcome change(const QString &operation, const std::function<bool(QList<TarnixScheduleItem> &)> &edit);
    std::optional<ScheduleArchive::Contents> readArchive(QString *error) const;

    Paths mPaths;
    QList<TarnixScheduleItem> mConfiguredSchedules;
    QVariantList mOtherEntries;
    QString mArchiveError;
};
