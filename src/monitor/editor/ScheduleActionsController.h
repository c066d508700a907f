#pragma once

#include "monitor/editor/SchedulePanelRules.h"
#include "monitor/editor/SchedulerPreferences.h"
#include "monitor/schedules/TarnixSchedulerController.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

// What the schedule window does to the schedules, without a display: run a job
// now, stop the running one, delete, save the inline panel and the editor
// sheet. Each checks before it changes anything, finds records by identity
// (never by row: the daemon rewrites the list meanwhile) and saves through the
// store, whose answer says whether the change was stored.
class ScheduleActionsController
{
public:
    struct Paths
    {
        QString lastUserLogin;  // "LastUserLoginDetailsFilePath"
        QString preferences;    // "ApplicationPreferenceFile"

        static Paths fromTexts();
    };
    using Outcome = TarnixSchedulerController::SaveOutcome;

    static inline const QString kAlreadyImmediate =
        QStringLiteral("You already have a scheduled job that has been marked for immediate backup.");
    static inline const QString kImmediateScheduled =
        QStringLiteral("The immediate backup has been scheduled, it will commence in a few seconds");
    static inline const QString kNoBackupSet =
        QStringLiteral("The job has no files to back up: its backup set is missing or empty.");

    ScheduleActionsController(TarnixSchedulerController &store, Paths paths = Paths::fromTexts());

    TarnixSchedulerController &store() { return mStore; }
    SchedulerPreferences preferences() const { return SchedulerPreferences(mPaths.preferences); }

    // The working record of this identity, as last read.
    std::optional<TarnixScheduleItem> record(const QString &identity) const;

    // The user of the last login ("Username" of the last-user login details).
    QString loginUsername() const;

    // A one-off run of the job beside the user's jobs, 45 seconds ahead; "2"
    // asks the daemon to run it now when the state file reads "0". Refused,
    // with the message, while the job runs, while a one-off job waits, or
    // when its backup set is missing or empty.
    struct Answer
    {
        bool stored = false;
        QString message;
    };
    Answer runNow(const QString &identity, const QDateTime &now);

    // The job a stop is about: the first one in progress, else the selected one.
    std::optional<TarnixScheduleItem> stopTarget(const QString &selectedIdentity) const;

    Outcome deleteRecords(const QStringList &identities) { return mStore.deleteSchedules(identities); }
    Outcome removeJobsOfUser(const QString &username);

    // The panel's settings onto every job of the user (a running one-off job
    // aside); with no job, a new one from the login details when a box asks for one.
    Outcome savePanel(const QString &username, const SchedulePanel &panel);

    // The editor's save: `edited` takes the place of `original`. A one-off job
    // turned repeating first replaces the user's other repeating jobs; a
    // one-off job asks the daemon to run it and is merged with the user's
    // other one-off jobs.
    Outcome saveEdit(const TarnixScheduleItem &original, TarnixScheduleItem edited, bool replacesRepeatingJobs);

private:
    TarnixScheduleItem newRecordFromLogin(const SchedulePanel &panel) const;
    void requestImmediateRun() const;

    TarnixSchedulerController &mStore;
    Paths mPaths;
};
