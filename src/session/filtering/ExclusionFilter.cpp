#include "session/filtering/ExclusionFilter.h"

#include "common/categories/BoolValue.h"
#include "common/categories/Extention.h"
#include "common/categories/QLRegExpMatcherCategory.h"
#include "common/categories/QuellonExtension.h"
#include "common/files/ApplicationFile.h"
#include "common/files/TXSupportFileManager.h"
#include "common/utility/QLUtility.h"
#include "platform/PropertyList.h"

#include <QSet>

#include <algorithm>

namespace {

const QString kDefaultKey = QStringLiteral("Default Exclusion");
const QString kUserKey = QStringLiteral("User specified Exclusion");
const QString kPartialKey = QStringLiteral("Partial File Exclusion");

bool isRootStar(const QString &entry)
{
    return entry == QLatin1String("/") || entry == QLatin1String("*");
}

// p is the entry or lies inside it: whole path components only, so that the
// entry /home/a never takes /home/ab with it.
bool isSameOrInside(const QString &entry, const QString &path)
{
    return path == entry || quellonExtension::isChildOfFolder(entry, path) ||
           (entry.endsWith(u'/') && path.startsWith(entry));
}

}  // namespace

ExclusionFilter::Settings ExclusionFilter::read(const QString &userName)
{
    const QString file = TXSupportFileManager::txFileManager().pathForApplicationFile(ApplicationFile::ExcludeInfoPath);
    const QVariantMap forUser = PropertyList::readDictionary(file).value(userName).toMap();
    Settings settings;
    settings.defaults = forUser.value(kDefaultKey).toMap();
    settings.user = forUser.value(kUserKey).toMap();
    settings.partial = forUser.value(kPartialKey).toMap();
    settings.excludeHidden = QLUtility::EnableExcludeHiddenFiles();
    return settings;
}

ExclusionFilter::ExclusionFilter(Settings settings, const QString &volumesRoot)
    : mSettings(std::move(settings)), mVolumesRoot(volumesRoot)
{
    // Unselected user and partial-name entries count for nothing; unselected
    // default entries still make the pass a filtering one.
    Extention::filterUnselectedEntries(mSettings.user);
    Extention::filterUnselectedEntries(mSettings.partial);
    for (auto it = mSettings.defaults.cbegin(); it != mSettings.defaults.cend(); ++it)
        if (BoolValue::variantBoolValue(it.value()))
            mCombinedKeys << it.key();
    for (auto it = mSettings.user.cbegin(); it != mSettings.user.cend(); ++it) {
        mCombinedKeys << it.key();
        // An entry that names a file stands for nothing inside it; a folder for all of it.
        if (QLUtility::isDirectory(it.key()))
            mUserFolders << it.key();
    }
    for (auto it = mSettings.partial.cbegin(); it != mSettings.partial.cend(); ++it) {
        mCombinedKeys << it.key();
        mPatterns << QLRegExpMatcher::escapedPattern(it.key());
    }
    mCombinedHasRoot = std::any_of(mCombinedKeys.cbegin(), mCombinedKeys.cend(), isRootStar);
}

QStringList ExclusionFilter::combinedKeys() const
{
    return mCombinedKeys;
}

bool ExclusionFilter::hasLineBreak(const QString &path)
{
    return path.contains(u'\r') || path.contains(u'\n');
}

ExclusionFilter::Result ExclusionFilter::getBackupSetAfterFiltration(const QStringList &paths) const
{
    Result result;
    const bool nothingToTest = mSettings.defaults.isEmpty() && mSettings.user.isEmpty() && mSettings.partial.isEmpty();
    QSet<QString> accepted;
    accepted.reserve(paths.size());
    for (const QString &path : paths) {
        const bool refused = accepted.contains(path) || hasLineBreak(path) ||
                             (!nothingToTest && (isExcludedOutright(path) || shouldExcludeUserFile(path) ||
                                                 shouldExcludeHiddenFile(path) || shouldExcludeDefaultFile(path)));
        if (refused) {
            result.skipped << path;
        } else {
            accepted.insert(path);
            result.accepted << path;
        }
    }
    return result;
}

bool ExclusionFilter::isExcludedOutright(const QString &path) const
{
    if (mCombinedKeys.isEmpty())
        return false;
    return hasRootStarInExcludeList() || (mCombinedHasRoot && !isUnderVolumes(path)) || mCombinedKeys.contains(path);
}

bool ExclusionFilter::isUnderVolumes(const QString &path) const
{
    return path.startsWith(mVolumesRoot);
}

bool ExclusionFilter::shouldExcludeUserFile(const QString &path) const
{
    for (const QString &pattern : mPatterns)
        if (QLUtility::isStringMatchesPattern(path, pattern))
            return true;
    if (BoolValue::variantBoolValue(mSettings.user.value(path)))
        return true;
    return std::any_of(mUserFolders.cbegin(), mUserFolders.cend(),
                       [&path](const QString &folder) { return quellonExtension::isChildOfFolder(folder, path); });
}

bool ExclusionFilter::shouldExcludeHiddenFile(const QString &path) const
{
    return mSettings.excludeHidden && quellonExtension::isChildOfHiddenFolder(path);
}

bool ExclusionFilter::shouldExcludeDefaultFile(const QString &path) const
{
    for (auto it = mSettings.defaults.cbegin(); it != mSettings.defaults.cend(); ++it) {
        if (!BoolValue::variantBoolValue(it.value()))
            continue;
        const QString &entry = it.key();
        if (entry == mVolumesRoot && (path == mVolumesRoot || path == mVolumesRoot + u'/'))
            return true;
        if (isSameOrInside(entry, path) && !isUnderVolumes(path))
            return true;
    }
    return false;
}

bool ExclusionFilter::hasRootStarInExcludeList() const
{
    for (const QString &entry : {QStringLiteral("/"), QStringLiteral("*"), QStringLiteral("*.*")})
        if (mSettings.partial.contains(entry))
            return true;
    return mSettings.user.contains(QStringLiteral("/")) || mSettings.user.contains(QStringLiteral("*"));
}
