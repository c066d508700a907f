#include "client/backup/cleanup/ArchiveCleanupPreferences.h"

#include "platform/PropertyList.h"

#include <QFileInfo>
#include <QVariantMap>

namespace {

const QString kAutomaticSync = QStringLiteral("AutomaticSync");
const QString kNumberOfDays = QStringLiteral("mNumberOfDays");
const QString kPercentageOfFiles = QStringLiteral("mPercentageOfFiles");

int storedOr(const QVariantMap &settings, const QString &key, int fallback)
{
    const int stored = settings.value(key).toInt();
    return stored == 0 ? fallback : stored;
}

}  // namespace

ArchiveCleanupPreferences ArchiveCleanupPreferences::loadPrefrences(const QString &file, const QString &userName,
                                                                    bool isRuvoUser)
{
    const QVariantMap settings = PropertyList::readDictionary(file).value(userName).toMap();
    ArchiveCleanupPreferences preferences;
    preferences.automaticSync = settings.value(kAutomaticSync).toBool();
    if (isRuvoUser) {
        preferences.mNumberOfDays = storedOr(settings, kNumberOfDays, kDefaultNumberOfDays);
        preferences.mPercentageOfFiles = storedOr(settings, kPercentageOfFiles, kDefaultPercentageOfFiles);
    }
    return preferences;
}

bool ArchiveCleanupPreferences::savePreferences(const QString &file, const QString &userName, bool isRuvoUser) const
{
    if (!QFileInfo::exists(file))
        return false;
    QVariantMap all = PropertyList::readDictionary(file);
    if (!all.contains(userName))
        return false;
    QVariantMap settings = all.value(userName).toMap();
    settings.insert(kAutomaticSync, automaticSync);
    if (isRuvoUser) {
        settings.insert(kNumberOfDays, mNumberOfDays);
        settings.insert(kPercentageOfFiles, mPercentageOfFiles);
    }
    all.insert(userName, settings);
    return PropertyList::write(file, all);
}
