#include "monitor/schedules/TarnixSchedulerController.h"

#include "common/account/MultipleComputerKeys.h"
#include "common/files/TextFile.h"
#include "common/texts/Brand.h"
#include "common/texts/QLLocalizedString.h"
#include "monitor/logs/MonitorLogger.h"
#include "monitor/schedules/ScheduleDateRules.h"
#include "platform/PropertyList.h"
#include "platform/SidecarLock.h"

namespace {

using MultipleComputerKeys::kEnableMultipleMacBackupKey;
using MultipleComputerKeys::kMultipleMacFolderName;

bool anyInProgress(const QList<TarnixScheduleItem> &records)
{
    return std::any_of(records.cbegin(), records.cend(),
                       [](const TarnixScheduleItem &r) { return r.status() == TarnixScheduleItem::InProgress; });
}

// "Start of <operation> In SchedulerController" and its "Exit of" twin.
class TraceScope
{
public:
    explicit TraceScope(const QString &operation)
        : mOperation(operation)
    {
        MonitorLogger::logMonitorTrace(QStringLiteral("Start of %1 In SchedulerController").arg(mOperation));
    }
    ~TraceScope()
    {
        MonitorLogger::logMonitorTrace(QStringLiteral("Exit of %1 In SchedulerController").arg(mOperation));
    }
    TraceScope(const TraceScope &) = delete;
    TraceScope &operator=(const TraceScope &) = delete;

private:
    QString mOperation;
};

}  // namespace

TarnixSchedulerController::Paths TarnixSchedulerController::Paths::fromTexts()
{
    return {QLLocalizedString(QStringLiteral("SchedulerSettingsFile")),
            QLLocalizedString(QStringLiteral("SchedulerState")),
            QLLocalizedString(QStringLiteral("MultiplePCStateFilePath")),
            Brand::pick(QStringLiteral("MyTarnix"), QStringLiteral("MyQuellon"))};
}

TarnixSchedulerController::TarnixSchedulerController(Paths paths)
    : mPaths(std::move(paths))
{
    tarnixInitializeSchedulerSettings();
}

std::optional<ScheduleArchive::Contents> TarnixSchedulerController::readArchive(QString *error) const
{
    bool missing = false;
    auto contents = ScheduleArchive::read(mPaths.archive, error, &missing);
    if (!contents && missing) {
        error->clear();
        return ScheduleArchive::Contents{};
    }
    return contents;
}

void TarnixSchedulerController::tarnixInitializeSchedulerSettings()
{
    QString error;
    const auto lock = SidecarLock::acquire(mPaths.archive, SidecarLock::Mode::Shared, &error);
    const auto contents = lock ? readArchive(&error) : std::nullopt;
    mArchiveError = error;
    mConfiguredSchedules = contents ? contents->records : QList<TarnixScheduleItem>();
    mOtherEntries = contents ? contents->otherEntries : QVariantList();
}

QList<TarnixScheduleItem> TarnixSchedulerController::tarnixSchedulerDetailsForUser(const QString &userName) const
{
    QList<TarnixScheduleItem> records;
    for (const TarnixScheduleItem &record : mConfiguredSchedules)
        if (record.username() == userName)
            records << record;
    return records;
}

std::optional<QList<TarnixScheduleItem>> TarnixSchedulerController::tarnixSchedulerDetailsForAllUsers() const
{
    QString error;
    const auto lock = SidecarLock::acquire(mPaths.archive, SidecarLock::Mode::Shared, &error);
    const auto contents = lock ? ScheduleArchive::read(mPaths.archive, &error) : std::nullopt;
    if (!contents)
        return std::nullopt;
    return contents->records;
}

bool TarnixSchedulerController::isScheduleBackupInProgress() const
{
    const auto records = tarnixSchedulerDetailsForAllUsers();
    return records && anyInProgress(*records);
}

void TarnixSchedulerController::ReloadSchedules()
{
    tarnixInitializeSchedulerSettings();
    updateMultipleMacStateOfScheduledItem();
}

TarnixSchedulerController::SaveOutcome
TarnixSchedulerController::change(const QString &operation,
                                  const std::function<bool(QList<TarnixScheduleItem> &)> &edit)
{
    const TraceScope trace(operation);
    QString error;
    const auto lock = SidecarLock::acquire(mPaths.archive, SidecarLock::Mode::Exclusive, &error);
    if (!lock)
        return {Saved::Failed, QStringLiteral("The schedules could not be saved: %1").arg(error)};
    auto contents = readArchive(&error);
    if (!contents) {
        // A damaged archive is left as it is: writing over it would lose every user's schedules.
        mArchiveError = error;
        return {Saved::Failed, QStringLiteral("The schedules could not be saved: %1").arg(error)};
    }
    mArchiveError.clear();
    mConfiguredSchedules = contents->records;
    mOtherEntries = contents->otherEntries;
    if (anyInProgress(contents->records))
        return {Saved::HeldBack, kHeldBackMessage};
    QList<TarnixScheduleItem> edited = contents->records;
    if (!edit(edited))
        return {};
    contents->records = edited;
    if (!ScheduleArchive::write(mPaths.archive, *contents, &error))
        return {Saved::Failed, QStringLiteral("The schedules could not be saved: %1").arg(error)};
    mConfiguredSchedules = edited;
    return {};
}

TarnixSchedulerController::SaveOutcome
TarnixSchedulerController::tarnixaddSchedulerDetails(const TarnixScheduleItem &record)
{
    if (const auto error = record.validationError())
        return {Saved::Failed, *error};
    return change(QStringLiteral("tarnixaddSchedulerDetails"), [&record](QList<TarnixScheduleItem> &records) {
        records << record;
        return true;
    });
}

TarnixSchedulerController::SaveOutcome
TarnixSchedulerController::tarnixDeleteSchedulerDeatils(const QStringList &identities)
{
    return change(QStringLiteral("tarnixDeleteSchedulerDeatils"), [&identities](QList<TarnixScheduleItem> &records) {
        return records.removeIf(
                   [&identities](const TarnixScheduleItem &r) { return identities.contains(r.identityKey()); }) > 0;
    });
}

TarnixSchedulerController::SaveOutcome
TarnixSchedulerController::tarnixUpdateSchedule(const TarnixScheduleItem &editedCopy,
                                                const TarnixScheduleItem &replacement)
{
    if (const auto error = replacement.validationError())
        return {Saved::Failed, *error};
    return change(QStringLiteral("tarnixUpdateSchedule"), [&](QList<TarnixScheduleItem> &records) {
        const bool oneOff = editedCopy.frequencyString() == QLatin1String("Immediate");
        for (TarnixScheduleItem &record : records) {
            const bool candidate =
                record.username() == replacement.username() && (!oneOff || record.isEqualToScheduleItem(editedCopy));
            if (candidate && record.compareScheduleItems(editedCopy)) {
                record = replacement;
                break;
            }
        }
        return true;
    });
}

TarnixSchedulerController::SaveOutcome
TarnixSchedulerController::tarnixReplaceSchedules(const QHash<QString, TarnixScheduleItem> &replacements)
{
    for (const TarnixScheduleItem &record : replacements)
        if (const auto error = record.validationError())
            return {Saved::Failed, *error};
    return change(QStringLiteral("tarnixReplaceSchedules"), [&replacements](QList<TarnixScheduleItem> &records) {
        bool replaced = false;
        for (TarnixScheduleItem &record : records) {
            const auto replacement = replacements.constFind(record.identityKey());
            if (replacement == replacements.cend())
                continue;
            const int status = record.status();
            record = *replacement;
            record.setStatus(status);
            replaced = true;
        }
        return replaced;
    });
}

TarnixSchedulerController::SaveOutcome TarnixSchedulerController::updateMultipleMacStateOfScheduledItem()
{
    const QVariantMap computers = PropertyList::readDictionary(mPaths.multipleComputers);
    const auto destinationOf = [this, &computers](const TarnixScheduleItem &record) -> std::optional<QString> {
        const QVariantMap state = computers.value(record.tarnixUserName()).toMap();
        const bool running = record.status() == TarnixScheduleItem::InProgress;
        if (!state.isEmpty() && state.value(kEnableMultipleMacBackupKey).toString() == QLatin1String("1") && !running) {
            const QString folder = state.value(kMultipleMacFolderName).toString();
            return folder.isEmpty() ? mPaths.defaultDestination : folder;
        }
        if (running)
            return std::nullopt;
        return mPaths.defaultDestination;
    };
    const auto needsChange = [&destinationOf](const TarnixScheduleItem &record) {
        const auto destination = destinationOf(record);
        return destination && *destination != record.destination();
    };
    // Saved once, and only when a destination really changes.
    if (std::none_of(mConfiguredSchedules.cbegin(), mConfiguredSchedules.cend(), needsChange))
        return {};
    return change(QStringLiteral("updateMultipleMacStateOfScheduledItem"), [&](QList<TarnixScheduleItem> &records) {
        bool changed = false;
        for (TarnixScheduleItem &record : records)
            if (needsChange(record)) {
                record.setDestination(*destinationOf(record));
                changed = true;
            }
        return changed;
    });
}

TarnixSchedulerController::SaveOutcome TarnixSchedulerController::saveSchedulerDetails()
{
    // The working list's edits go onto the file's records of the same identity;
    // the status stays the daemon's, and records only the file holds stay too.
    const QList<TarnixScheduleItem> working = mConfiguredSchedules;
    for (const TarnixScheduleItem &record : working)
        if (const auto error = record.validationError())
            return {Saved::Failed, *error};
    return change(QStringLiteral("saveSchedulerDetails"), [&working](QList<TarnixScheduleItem> &records) {
        for (const TarnixScheduleItem &edited : working) {
            const auto same = std::find_if(records.begin(), records.end(),
                                           [&edited](const TarnixScheduleItem &r) { return r.isSameRecord(edited); });
            if (same == records.end()) {
                records << edited;
                continue;
            }
            const int status = same->status();
            *same = edited;
            same->setStatus(status);
        }
        return true;
    });
}

TarnixSchedulerController::SaveOutcome
TarnixSchedulerController::checkExistanceOfOnceForSameUser(const TarnixScheduleItem &saved)
{
    return change(QStringLiteral("checkExistanceOfOnceForSameUser"), [&saved](QList<TarnixScheduleItem> &records) {
        const auto merged = ScheduleDateRules::checkExistanceOfOnceForSameUser(records, saved);
        if (merged)
            records = *merged;
        return merged.has_value();
    });
}

TarnixSchedulerController::SaveOutcome TarnixSchedulerController::deleteSchedules(const QStringList &identities)
{
    const TraceScope trace(QStringLiteral("deleteSchedule"));
    for (const TarnixScheduleItem &record : mConfiguredSchedules)
        if (identities.contains(record.identityKey()) && record.status() == TarnixScheduleItem::InProgress)
            return {Saved::HeldBack, QStringLiteral("You cannot delete a scheduled job which is in progress.")};
    const SaveOutcome outcome = tarnixDeleteSchedulerDeatils(identities);
    // Reset only after a saved delete: while a job runs the file may hold a stop request.
    if (outcome.saved() && schedulerState() != kStateIdle)
        writeSchedulerState(kStateIdle);
    return outcome;
}

std::optional<QString> TarnixSchedulerController::schedulerState() const
{
    return TextFile::read(mPaths.schedulerState);
}

bool TarnixSchedulerController::writeSchedulerState(const QString &value) const
{
    return TextFile::write(mPaths.schedulerState, value);
}

bool TarnixSchedulerController::requestStopOfRunningJob() const
{
    return isScheduleBackupInProgress() && writeSchedulerState(kStateStop);
}
