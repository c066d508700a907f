#include "monitor/editor/SchedulerPreferences.h"

#include "platform/PropertyList.h"

#include <QDir>
#include <QFileInfo>
#include <QVariantMap>

SchedulerPreferences::SchedulerPreferences(QString path)
    : mPath(std::move(path))
{}

SchedulerPreferences::Settings SchedulerPreferences::read(const QString &tarnixUserName) const
{
    const QVariantMap all = PropertyList::readDictionary(mPath);
    const QVariantMap user = all.value(tarnixUserName).toMap();
    return {user.value(kEnableCutoffTimeKey).toBool(), user.value(kCutoffTimeKey).toDateTime(),
            all.value(kDesktopNotificationKey).toBool(), all.value(kStartMissedScheduleBackupKey).toBool()};
}

bool SchedulerPreferences::writeCutoff(const QString &tarnixUserName, bool on, const QDateTime &cutoff) const
{
    QVariantMap all = PropertyList::readDictionary(mPath);
    QVariantMap user = all.value(tarnixUserName).toMap();
    user.insert(kEnableCutoffTimeKey, on);
    user.insert(kCutoffTimeKey, cutoff);
    all.insert(tarnixUserName, user);
    return QDir().mkpath(QFileInfo(mPath).absolutePath()) && PropertyList::write(mPath, all);
}

bool SchedulerPreferences::write(const QString &tarnixUserName, const Settings &settings) const
{
    if (!writeCutoff(tarnixUserName, settings.cutoffOn, settings.cutoff))
        return false;
    QVariantMap all = PropertyList::readDictionary(mPath);
    all.insert(kDesktopNotificationKey, settings.desktopNotification);
    all.insert(kStartMissedScheduleBackupKey, settings.startMissed);
    return PropertyList::write(mPath, all);
}
