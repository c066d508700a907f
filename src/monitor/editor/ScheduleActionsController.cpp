#include "monitor/editor/ScheduleActionsController.h"

#include "common/login/StoredLoginDetails.h"
#include "common/texts/Brand.h"
#include "common/texts/QLLocalizedString.h"
#include "monitor/editor/ScheduleEditorState.h"
#include "monitor/schedules/ScheduleDateRules.h"
#include "platform/PathStandardizer.h"
#include "platform/PathTemplate.h"
#include "platform/PropertyList.h"

namespace {

bool hasFilesToBackUp(const QString &backupSet)
{
    const auto set = PropertyList::read(backupSet);
    return set && !set->toList().isEmpty();
}

QStringList identitiesOf(const QList<TarnixScheduleItem> &records)
{
    QStringList identities;
    for (const TarnixScheduleItem &record : records)
        identities << record.identityKey();
    return identities;
}

}  // namespace

ScheduleActionsController::Paths ScheduleActionsController::Paths::fromTexts()
{
    return {PathStandardizer::standardizePath(QLLocalizedString(QStringLiteral("LastUserLoginDetailsFilePath"))),
            PathStandardizer::standardizePath(QLLocalizedString(QStringLiteral("ApplicationPreferenceFile")))};
}

ScheduleActionsController::ScheduleActionsController(TarnixSchedulerController &store, Paths paths)
    : mStore(store)
    , mPaths(std::move(paths))
{}

std::optional<TarnixScheduleItem> ScheduleActionsController::record(const QString &identity) const
{
    for (const TarnixScheduleItem &record : mStore.configuredSchedules())
        if (record.identityKey() == identity)
            return record;
    return std::nullopt;
}

QString ScheduleActionsController::loginUsername() const
{
    return PropertyList::readDictionary(mPaths.lastUserLogin).value(StoredLoginDetails::kUsername).toString();
}

void ScheduleActionsController::requestImmediateRun() const
{
    if (mStore.schedulerState() == TarnixSchedulerController::kStateIdle)
        mStore.writeSchedulerState(TarnixSchedulerController::kStateImmediate);
}

ScheduleActionsController::Answer ScheduleActionsController::runNow(const QString &identity, const QDateTime &now)
{
    mStore.tarnixInitializeSchedulerSettings();
    const auto selected = record(identity);
    if (!selected)
        return {};
    const QList<TarnixScheduleItem> &all = mStore.configuredSchedules();
    // A one-off job that has ended stays in the archive with its end status; only one still to run blocks.
    const bool oneOffWaits = std::any_of(all.cbegin(), all.cend(), [](const TarnixScheduleItem &r) {
        return r.frequency() == TarnixScheduleItem::Immediate &&
               (r.status() == TarnixScheduleItem::NoStatus || r.status() == TarnixScheduleItem::InProgress);
    });
    if (selected->status() == TarnixScheduleItem::InProgress || oneOffWaits)
        return {false, kAlreadyImmediate};
    if (!hasFilesToBackUp(selected->processReferenceFile()))
        return {false, kNoBackupSet};

    TarnixScheduleItem oneOff = selected->copy();
    oneOff.setFrequency(TarnixScheduleItem::Immediate);
    oneOff.setStatus(TarnixScheduleItem::NoStatus);
    oneOff.setScheduleTime(now.addSecs(45));
    oneOff.setScheduleTimeSettings(ScheduleEditorState::ImmediateRow);
    oneOff.setSelectedDaysForSchedule({ScheduleDateRules::weekdayIndex(oneOff.scheduleTime())});
    const Outcome outcome = mStore.tarnixaddSchedulerDetails(oneOff);
    if (!outcome.saved())
        return {false, outcome.message};
    requestImmediateRun();
    return {true, kImmediateScheduled};
}

std::optional<TarnixScheduleItem> ScheduleActionsController::stopTarget(const QString &selectedIdentity) const
{
    for (const TarnixScheduleItem &record : mStore.configuredSchedules())
        if (record.status() == TarnixScheduleItem::InProgress)
            return record;
    return record(selectedIdentity);
}

ScheduleActionsController::Outcome ScheduleActionsController::removeJobsOfUser(const QString &username)
{
    mStore.tarnixInitializeSchedulerSettings();
    return mStore.deleteSchedules(identitiesOf(mStore.tarnixSchedulerDetailsForUser(username)));
}

ScheduleActionsController::Outcome ScheduleActionsController::savePanel(const QString &username,
                                                                        const SchedulePanel &panel)
{
    mStore.tarnixInitializeSchedulerSettings();
    const QList<TarnixScheduleItem> jobs = mStore.tarnixSchedulerDetailsForUser(username);
    if (jobs.isEmpty()) {
        if (!panel.dailyOn && !panel.immediateOn)
            return {};
        return mStore.tarnixaddSchedulerDetails(newRecordFromLogin(panel));
    }
    const QList<TarnixScheduleItem> saved = SchedulePanelRules::applyPanel(jobs, panel);
    QHash<QString, TarnixScheduleItem> replacements;
    for (qsizetype i = 0; i < jobs.size(); ++i)
        replacements.insert(jobs[i].identityKey(), saved[i]);
    return mStore.tarnixReplaceSchedules(replacements);
}

TarnixScheduleItem ScheduleActionsController::newRecordFromLogin(const SchedulePanel &panel) const
{
    namespace Login = StoredLoginDetails;
    const QVariantMap login = PropertyList::readDictionary(mPaths.lastUserLogin);
    TarnixScheduleItem record;
    record.setDisplayDesktopNotification(true);
    record.setTarnixUserName(login.value(Login::kTarnixUsername).toString());
    record.setUsername(login.value(Login::kUsername).toString());
    record.setPassword(login.value(Login::kPassword).toString());
    record.setUserAtServer(login.value(Login::kUserAtServer).toString());
    record.setServerName(login.value(Login::kServerName).toString());
    record.setQuotaServerName(login.value(Login::kQuotaServerName).toString());
    record.setProcessReferenceFile(PathStandardizer::standardizePath(
        PathTemplate::fillTemplate(QLLocalizedString(QStringLiteral("BackupsetPath")),
                                   {Brand::pick(record.tarnixUserName(), record.username())})));
    record.setSSL(QStringLiteral("YES"));
    record.setFrequency(TarnixScheduleItem::Daily);
    SchedulePanel chosen = panel;
    chosen.kindChosen = true;
    return SchedulePanelRules::applyPanel({record}, chosen).first();
}

ScheduleActionsController::Outcome ScheduleActionsController::saveEdit(const TarnixScheduleItem &original,
                                                                       TarnixScheduleItem edited,
                                                                       bool replacesRepeatingJobs)
{
    if (const auto error = edited.validationError())
        return {TarnixSchedulerController::Saved::Failed, *error};
    if (mStore.isScheduleBackupInProgress())
        return {TarnixSchedulerController::Saved::HeldBack, TarnixSchedulerController::kHeldBackMessage};
    if (edited.quotaServername().isEmpty())
        edited.setQuotaServerName(
            PropertyList::readDictionary(mPaths.lastUserLogin).value(StoredLoginDetails::kQuotaServerName).toString());
    mStore.tarnixInitializeSchedulerSettings();
    if (!record(original.identityKey()))
        return {TarnixSchedulerController::Saved::Failed,
                QStringLiteral("The scheduled job was removed meanwhile; the changes were not saved.")};
    if (replacesRepeatingJobs && edited.frequency() != TarnixScheduleItem::Immediate) {
        QStringList repeating;
        for (const TarnixScheduleItem &record : mStore.configuredSchedules())
            if (record.tarnixUserName() == original.tarnixUserName() &&
                record.frequency() != TarnixScheduleItem::Immediate)
                repeating << record.identityKey();
        if (!repeating.isEmpty())
            if (const Outcome removed = mStore.tarnixDeleteSchedulerDeatils(repeating); !removed.saved())
                return removed;
    }
    const Outcome outcome = mStore.tarnixReplaceSchedules({{original.identityKey(), edited}});
    if (!outcome.saved() || edited.frequency() != TarnixScheduleItem::Immediate)
        return outcome;
    requestImmediateRun();
    return mStore.checkExistanceOfOnceForSameUser(edited);
}
