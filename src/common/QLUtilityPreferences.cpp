#include "QLUtility.h"

#include "BoolValue.h"
#include "PropertyList.h"
#include "QLLocalizedString.h"

namespace {

bool monitorPreference(const QString &key)
{
    const QString path = QLLocalizedString(QStringLiteral("MonitorPreferencePath"));
    return variantBoolValue(PropertyList::readDictionary(path).value(key));
}

}  // namespace

// The key is stored with its trailing blank.
bool QLUtility::ShowHiddenFilesKey() { return monitorPreference(QStringLiteral("ShowHiddenFilesKey ")); }

bool QLUtility::EnableExcludeHiddenFiles() { return monitorPreference(QStringLiteral("enableExcludeHiddenFilesKey")); }
