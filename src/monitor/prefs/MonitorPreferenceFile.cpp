#include "monitor/prefs/MonitorPreferenceFile.h"

#include "common/files/SettingsFileWriter.h"
#include "common/texts/QLLocalizedString.h"
#include "platform/PathStandardizer.h"
#include "platform/PropertyList.h"

#include <QtDebug>

namespace MonitorPreferenceFile {

QString path() { return PathStandardizer::standardizePath(QLLocalizedString(QStringLiteral("MonitorPreferencePath"))); }

QVariantMap read() { return PropertyList::readDictionary(path()); }

QVariantMap userPreferences(const QString &userName) { return read().value(userName).toMap(); }

bool update(const std::function<void(QVariantMap &preferences)> &change)
{
    const QString file = path();
    QVariantMap preferences = PropertyList::readDictionary(file);
    change(preferences);
    QString error;
    if (!SettingsFileWriter::writeSettingsFile(file, preferences, PropertyList::kDefaultMode, &error)) {
        qWarning().noquote() << "could not write the preferences to" << file << error;
        return false;
    }
    return true;
}

bool updateUser(const QString &userName, const std::function<void(QVariantMap &user)> &change)
{
    return update([&](QVariantMap &preferences) {
        QVariantMap user = preferences.value(userName).toMap();
        change(user);
        preferences.insert(userName, user);
    });
}

}  // namespace MonitorPreferenceFile
