#include "common/backupset/MonitorExclusionPreferences.h"

#include "common/files/SettingsFileWriter.h"
#include "common/texts/QLLocalizedString.h"
#include "platform/PathStandardizer.h"
#include "platform/PropertyList.h"

#include <QtDebug>

namespace MonitorExclusionPreferences {

namespace {

QString preferencesPath()
{
    return PathStandardizer::standardizePath(QLLocalizedString(QStringLiteral("MonitorPreferencePath")));
}

}  // namespace

QStringList userSpecifiedExclusions(const QString &userName)
{
    const QVariantMap exclusions =
        PropertyList::readDictionary(preferencesPath()).value(userName).toMap().value(kUserSpecifiedExclusion).toMap();
    QStringList excluded;
    for (auto entry = exclusions.cbegin(); entry != exclusions.cend(); ++entry) {
        if (entry.value().toLongLong() == 1)
            excluded.append(entry.key());
    }
    return excluded;
}

bool writeFilePathToExcludePreferences(const QString &userName, const QString &storedPath, bool excluded)
{
    const QString path = preferencesPath();
    QVariantMap preferences = PropertyList::readDictionary(path);
    // Made when missing: the backup's filter reads this file, so an exclusion made before
    // the monitor first saved its preferences must not be dropped. The monitor adds its
    // default entries beside it at its next load.
    QVariantMap user = preferences.value(userName).toMap();
    QVariantMap exclusions = user.value(kUserSpecifiedExclusion).toMap();
    exclusions.insert(storedPath, qint64(excluded ? 1 : 0));
    user.insert(kUserSpecifiedExclusion, exclusions);
    preferences.insert(userName, user);
    QString error;
    if (!SettingsFileWriter::writeSettingsFile(path, preferences, PropertyList::kDefaultMode, &error)) {
        qWarning().noquote() << "could not write the exclusion to" << path << error;
        return false;
    }
    return true;
}

}  // namespace MonitorExclusionPreferences
