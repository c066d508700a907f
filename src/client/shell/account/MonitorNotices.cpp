#include "client/shell/account/MonitorNotices.h"

#include "desktop/logs/LogViewRules.h"

MonitorNotices::MonitorNotices(QObject *parent)
    : QObject(parent)
{
    connect(&mCenter, &DistributedNotificationCenter::notificationReceived, this,
            [this](const QString &name, const QString &, const QVariantMap &) {
                if (LogViewRules::periodForNotification(name))
                    emit logPeriodChosen(name);
            });
}

void MonitorNotices::post(const QString &name, const QString &object) { mCenter.postNotificationName(name, object); }

void MonitorNotices::postLogPeriod(const QString &period)
{
    // The poster hears its own notification on the bus; without one, it tells itself.
    if (mCenter.isConnected())
        mCenter.postNotificationName(period);
    else
        emit logPeriodChosen(period);
}
