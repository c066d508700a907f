#include "session/filtering/ExclusionFilter.h"

#include "common/backupset/MonitorExclusionPreferences.h"
#include "common/categories/BoolValue.h"
#include "common/categories/Extention.h"
#include "common/categories/QLRegExpMatcherCategory.h"
#include "common/categories/QuellonExtension.h"
#include "common/texts/QLLocalizedString.h"
#include "common/utility/QLUtility.h"
#include "platform/PathStandardizer.h"
#include "platform/PropertyList.h"

#include <QSet>

#include <algorithm>
#include <vector>

namespace {

const QString &kDefaultKey = MonitorExclusionPreferences::kDefaultExclusion;
const QString &kUserKey = MonitorExclusionPreferences::kUserSpecifiedExclusion;
const QString &kPartialKey = MonitorExclusionPreferences::kPartialFileExclusion;

bool isRootStar(const QString &entry) { return entry == QLatin1String("/") || entry == QLatin1String("*"); }

// Marks each path that repeats an earlier one of the list, through an open
// table of positions that costs no allocation per path, as a set of paths would.
// The table is kept small (8 bytes a slot, at most two thirds full): its
// memory is fresh for every batch, and touching fresh memory is most of its cost.
std::vector<bool> repeatsOfEarlierPaths(const QStringList &paths)
{
    size_t slotCount = 16;
    while (slotCount < 3 * size_t(paths.size()) / 2)
        slotCount *= 2;
    struct Slot
    {
        quint32 hash = 0;
        qint32 position = -1;
    };
    std::vector<Slot> table(slotCount);
    std::vector<bool> repeats(size_t(paths.size()));
    for (qsizetype i = 0; i < paths.size(); ++i) {
        const auto hash = quint32(qHash(paths.at(i)));
        size_t at = hash & (slotCount - 1);
        for (; table[at].position >= 0; at = (at + 1) & (slotCount - 1))
            if (table[at].hash == hash && paths.at(table[at].position) == paths.at(i))
                break;
        if (table[at].position >= 0)
            repeats[size_t(i)] = true;
        else
            table[at] = {hash, qint32(i)};
    }
    return repeats;
}

}  // namespace

ExclusionFilter::Settings ExclusionFilter::read(const QString &userName)
{
    // One exclusion file for every window: the monitor's preference file, which its
    // Exclude pane and the client's tree both write.
    const QString file = PathStandardizer::standardizePath(QLLocalizedString(QStringLiteral("MonitorPreferencePath")));
    const QVariantMap forUser = PropertyList::readDictionary(file).value(userName).toMap();
    Settings settings;
    settings.defaults = forUser.value(kDefaultKey).toMap();
    settings.user = forUser.value(kUserKey).toMap();
    settings.partial = forUser.value(kPartialKey).toMap();
    settings.excludeHidden = QLUtility::EnableExcludeHiddenFiles();
    return settings;
}

ExclusionFilter::ExclusionFilter(Settings settings, const QString &volumesRoot, const QString &homeFolder)
    : mSettings(std::move(settings))
    , mVolumesRoot(volumesRoot)
    , mHomeFolder(homeFolder)
{
    // Unselected user and partial-name entries count for nothing; unselected
    // default entries still make the pass a filtering one.
    Extention::filterUnselectedEntries(mSettings.user);
    Extention::filterUnselectedEntries(mSettings.partial);
    for (auto it = mSettings.defaults.cbegin(); it != mSettings.defaults.cend(); ++it)
        if (BoolValue::variantBoolValue(it.value())) {
            mCombinedKeys << it.key();
            mSelectedDefaults.push_back(folderEntry(it.key()));
        }
    for (auto it = mSettings.user.cbegin(); it != mSettings.user.cend(); ++it) {
        mCombinedKeys << it.key();
        // An entry that names a file stands for nothing inside it; a folder for all of it.
        if (QLUtility::isDirectory(it.key()))
            mUserFolders.push_back(folderEntry(it.key()));
    }
    for (auto it = mSettings.partial.cbegin(); it != mSettings.partial.cend(); ++it) {
        mCombinedKeys << it.key();
        mPatterns.emplace_back(QLRegExpMatcher::escapedPattern(it.key()));
    }
    mCombinedKeySet = QSet<QString>(mCombinedKeys.cbegin(), mCombinedKeys.cend());
    mCombinedHasRoot = std::any_of(mCombinedKeys.cbegin(), mCombinedKeys.cend(), isRootStar);
    mRootStar = hasRootStarInExcludeList();
}

ExclusionFilter::FolderEntry ExclusionFilter::folderEntry(const QString &path)
{
    return {path, path.endsWith(u'/') ? path : path + u'/'};
}

QStringList ExclusionFilter::combinedKeys() const { return mCombinedKeys; }

bool ExclusionFilter::hasLineBreak(const QString &path) { return path.contains(u'\r') || path.contains(u'\n'); }

ExclusionFilter::Result ExclusionFilter::getBackupSetAfterFiltration(const QStringList &paths) const
{
    const bool nothingToTest = mSettings.defaults.isEmpty() && mSettings.user.isEmpty() && mSettings.partial.isEmpty();
    // A path met before was accepted then, or is refused again now: either way it is skipped.
    std::vector<bool> refused = repeatsOfEarlierPaths(paths);
    std::vector<bool> unfit(size_t(paths.size()), false);
    bool anyRefused = false;
    for (qsizetype i = 0; i < paths.size(); ++i) {
        const QString &path = paths.at(i);
        if (!refused[size_t(i)]) {
            unfit[size_t(i)] = hasLineBreak(path);
            refused[size_t(i)] = !unfit[size_t(i)] && !nothingToTest &&
                                 (isExcludedOutright(path) || shouldExcludeUserFile(path) ||
                                  shouldExcludeHiddenFile(path) || shouldExcludeDefaultFile(path));
        }
        anyRefused = anyRefused || refused[size_t(i)] || unfit[size_t(i)];
    }
    Result result;
    if (!anyRefused) {
        result.accepted = paths;
        return result;
    }
    for (qsizetype i = 0; i < paths.size(); ++i)
        (unfit[size_t(i)] ? result.unfit : refused[size_t(i)] ? result.skipped : result.accepted) << paths.at(i);
    return result;
}

bool ExclusionFilter::isExcludedOutright(const QString &path) const
{
    if (mCombinedKeys.isEmpty())
        return false;
    return mRootStar || (mCombinedHasRoot && !isUnderVolumes(path)) || mCombinedKeySet.contains(path);
}

bool ExclusionFilter::isUnderVolumes(const QString &path) const { return path.startsWith(mVolumesRoot); }

bool ExclusionFilter::shouldExcludeUserFile(const QString &path) const
{
    for (const NamePattern &pattern : mPatterns)
        if (pattern.matches(path))
            return true;
    // The user entries left are the selected ones.
    if (mSettings.user.contains(path))
        return true;
    return std::any_of(mUserFolders.cbegin(), mUserFolders.cend(),
                       [&path](const FolderEntry &folder) { return path.startsWith(folder.inside); });
}

bool ExclusionFilter::shouldExcludeHiddenFile(const QString &path) const
{
    return mSettings.excludeHidden && quellonExtension::isChildOfHiddenFolder(path);
}

bool ExclusionFilter::isAtOrAroundHome(const QString &path) const
{
    if (mHomeFolder.isEmpty())
        return false;
    return path == mHomeFolder || path.startsWith(mHomeFolder + u'/') || mHomeFolder.startsWith(path + u'/');
}

bool ExclusionFilter::shouldExcludeDefaultFile(const QString &path) const
{
    if (isAtOrAroundHome(path))
        return false;
    for (const FolderEntry &entry : mSelectedDefaults) {
        if (entry.path == mVolumesRoot && (path == mVolumesRoot || path == entry.inside))
            return true;
        // Whole path components only, so that the entry /home/a never takes /home/ab with it.
        if ((path == entry.path || path.startsWith(entry.inside)) && !isUnderVolumes(path))
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
