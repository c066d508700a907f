#include "monitor/status/StatusRefresh.h"

#include "common/account/QuotaStatus.h"
#include "common/files/TextFile.h"
#include "common/login/StoredLoginDetails.h"
#include "common/login/UserFiles.h"
#include "common/texts/Brand.h"
#include "common/texts/QLLocalizedString.h"
#include "monitor/schedules/ScheduleDateRules.h"
#include "monitor/schedules/TarnixSchedulerController.h"
#include "platform/PropertyList.h"

#include <QFileInfo>

namespace {

QVariantMap lastUserLogin() { return StoredLoginDetails::lastUserDetails().value_or(QVariantMap()); }

}  // namespace

StatusRefresh::Outcome StatusRefresh::checkForTotalQuota(const QDateTime &now)
{
    Outcome outcome;
    const QString user = lastUserLogin().value(StoredLoginDetails::kTarnixUsername).toString();
    if (Brand::isTarnix() && !user.isEmpty() &&
        QFileInfo::exists(UserFiles::path(QStringLiteral("UserDetailsPath"), user))) {
        if (QuotaStatus::isQuotaUsedUp(QuotaStatus::getQuotaDetailsForUser(user))) {
            if (!mBlinking)
                outcome.blink = Blink::Start;  // one timer, however many refreshes
            mBlinking = true;
            outcome.toolTip = QLLocalizedString(QStringLiteral(
                "You have exceeded the allocated quota limit. For further backups you have to upgrade your account. "
                "Click the 'Upgrade Storage' menu item to upgrade your Tarnix account"));
        } else {
            if (mBlinking)
                outcome.blink = Blink::Stop;  // the quota recovered: the warning goes
            mBlinking = false;
            outcome.resetImages = true;
            if (!mStore.isScheduleBackupInProgress())
                outcome.toolTip = scheduleToolTip(now);
        }
    }
    outcome.openScheduleWindow = displayScheduleDetails();
    return outcome;
}

QString StatusRefresh::scheduleToolTip(const QDateTime &now) const
{
    if (TextFile::read(QLLocalizedString(QStringLiteral("SchedulerStatus"))).value_or(QString()) == QLatin1String("0"))
        return QLLocalizedString(QStringLiteral("You have disabled all your scheduled job(s)"));
    const QList<TarnixScheduleItem> records =
        mStore.tarnixSchedulerDetailsForAllUsers().value_or(QList<TarnixScheduleItem>());
    if (const auto next = ScheduleDateRules::nextScheduledItem(records, now))
        return QLLocalizedString(QStringLiteral("Your next scheduled backup will start on %@"))
            .replace(QStringLiteral("%@"), records[*next].scheduleTimeString());
    return QLLocalizedString(QStringLiteral("You have no scheduled jobs"));
}

bool StatusRefresh::displayScheduleDetails() const
{
    const QString user =
        lastUserLogin()
            .value(Brand::pick(StoredLoginDetails::kTarnixUsername, StoredLoginDetails::kQuellonUserName))
            .toString();
    if (user.isEmpty())
        return false;
    const QString path = UserFiles::path(QStringLiteral("BackupFailCountFilePath"), user);
    QVariantMap details = PropertyList::readDictionary(path);
    if (!details.value(QStringLiteral("ViewScheduleDetails")).toBool())
        return false;
    details.insert(QStringLiteral("ViewScheduleDetails"), false);
    PropertyList::write(path, details, PropertyList::kOwnerReadWrite);
    return true;
}
