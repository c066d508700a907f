#include "common/utility/QLUtility.h"

#include "common/backupset/MonitorExclusionPreferences.h"
#include "common/categories/BoolValue.h"
#include "common/texts/QLLocalizedString.h"
#include "platform/PropertyList.h"

namespace {

bool monitorPreference(const QString &key)
{
    const QString path = QLLocalizedString(QStringLiteral("MonitorPreferencePath"));
    return BoolValue::variantBoolValue(PropertyList::readDictionary(path).value(key));
}

}  // namespace

bool QLUtility::ShowHiddenFilesKey() { return monitorPreference(MonitorExclusionPreferences::kShowHiddenFilesKey); }

bool QLUtility::EnableExcludeHiddenFiles()
{
    return monitorPreference(MonitorExclusionPreferences::kEnableExcludeHiddenFilesKey);
}
