#include "common/utility/QLUtility.h"

#include "common/categories/BoolValue.h"
#include "platform/PropertyList.h"
#include "common/texts/QLLocalizedString.h"

namespace {

bool monitorPreference(const QString &key)
{
    const QString path = QLLocalizedString(QStringLiteral("MonitorPreferencePath"));
    return BoolValue::variantBoolValue(PropertyList::readDictionary(path).value(key));
}

}  // namespace

// The key is stored with its trailing blank.
bool QLUtility::ShowHiddenFilesKey() { return monitorPreference(QStringLiteral("ShowHiddenFilesKey ")); }

bool QLUtility::EnableExcludeHiddenFiles() { return monitorPreference(QStringLiteral("enableExcludeHiddenFilesKey")); }
