#include "monitor/prefs/ExcludePreferences.h"

#include "common/backupset/LocalTreeExclusions.h"
#include "common/backupset/MonitorExclusionPreferences.h"
#include "common/categories/BoolValue.h"
#include "monitor/prefs/MonitorPreferenceFile.h"
#include "platform/DistributedNotificationCenter.h"

#include <QFileInfo>

#include <algorithm>

namespace {

namespace Keys = MonitorExclusionPreferences;
const QString kAddObject = QStringLiteral("add");
const QString kRemoveObject = QStringLiteral("Remove");
const QString kRemoveFromClient = QStringLiteral("remove");

// Letter case and accents do not tell two listed paths apart.
QString folded(const QString &path)
{
    QString bare;
    for (const QChar c : path.normalized(QString::NormalizationForm_D))
        if (c.category() != QChar::Mark_NonSpacing)
            bare.append(c);
    return bare.toCaseFolded();
}

QVariantMap statesOf(const std::vector<SourceListNode> &rows, bool defaults)
{
    QVariantMap states;
    for (const SourceListNode &row : rows)
        if (ExcludePreferences::isDefault(row.name) == defaults)
            states.insert(row.name, qint64(row.state));  // a repeated name: the last row wins
    return states;
}

bool validRow(int row, size_t count) { return row >= 0 && size_t(row) < count; }

}  // namespace

QStringList ExcludePreferences::defaultExcludeFiles()
{
    QStringList paths;
    for (const QString &entry : LocalTreeExclusions::kDefaultExcludeFiles)
        if (entry.startsWith(u'/'))
            paths.append(entry);
    return paths;
}

ExcludePreferences::ExcludePreferences(DistributedNotificationCenter &notifications, LocalVolumeLayout layout)
    : mNotifications(notifications)
    , mLayout(std::move(layout))
{
    connect(&mNotifications, &DistributedNotificationCenter::notificationReceived, this,
            [this](const QString &name, const QString &, const QVariantMap &userInfo) {
                if (name == Keys::kExclusionFromClient)
                    addRemoveFileToExclude(userInfo);
            });
}

bool ExcludePreferences::isDefault(const QString &name)
{
    return name == kPartialDefault || defaultExcludeFiles().contains(name);
}

void ExcludePreferences::loadExcludeSet()
{
    if (!mUserName.isEmpty())
        fetchPreferenceValuesFromFile();
    const QVariantMap file = MonitorPreferenceFile::read();
    const QVariant hidden = file.value(Keys::kEnableExcludeHiddenFilesKey);
    mExcludeHidden = !hidden.isValid() || BoolValue::variantBoolValue(hidden);
    const QVariantMap user = file.value(mUserName).toMap();
    loadExcludePreference(user);
    loadPartialExcludePreference(user);
    saveExcludePreference();
    emit rowsChanged();
}

void ExcludePreferences::fetchPreferenceValuesFromFile()
{
    if (MonitorPreferenceFile::userPreferences(mUserName).contains(Keys::kDefaultExclusion))
        return;
    MonitorPreferenceFile::updateUser(mUserName, [](QVariantMap &user) {
        QVariantMap defaults;
        for (const QString &path : defaultExcludeFiles())
            defaults.insert(path, true);
        user.insert(Keys::kDefaultExclusion, defaults);
    });
}

void ExcludePreferences::loadExcludePreference(const QVariantMap &user)
{
    mRows.clear();
    for (const QString &key : {Keys::kDefaultExclusion, Keys::kUserSpecifiedExclusion}) {
        const QVariantMap states = user.value(key).toMap();
        for (auto it = states.cbegin(); it != states.cend(); ++it) {
            SourceListNode row = rowFor(it.key());
            row.state = it.value().toInt();
            mRows.push_back(row);
        }
    }
    sortRows();
}

void ExcludePreferences::loadPartialExcludePreference(const QVariantMap &user)
{
    mPartialRows.clear();
    const QVariantMap states = user.value(Keys::kPartialFileExclusion).toMap();
    for (auto it = states.cbegin(); it != states.cend(); ++it)
        mPartialRows.push_back({it.key(), it.value().toInt(), it.key() != kPartialDefault});
    if (mPartialRows.empty())
        mPartialRows.push_back({kPartialDefault, 1, false});
}

bool ExcludePreferences::saveExcludePreference()
{
    if (mUserName.isEmpty())
        return false;
    QVariantMap partial;
    for (const SourceListNode &row : mPartialRows)
        partial.insert(row.name, qint64(row.state));
    return MonitorPreferenceFile::update([&](QVariantMap &preferences) {
        preferences.insert(Keys::kEnableExcludeHiddenFilesKey, mExcludeHidden);
        QVariantMap user = preferences.value(mUserName).toMap();
        user.insert(Keys::kDefaultExclusion, statesOf(mRows, true));
        user.insert(Keys::kUserSpecifiedExclusion, statesOf(mRows, false));
        user.insert(Keys::kPartialFileExclusion, partial);
        preferences.insert(mUserName, user);
    });
}

void ExcludePreferences::setExcludeHidden(bool exclude)
{
    mExcludeHidden = exclude;
    saveExcludePreference();
}

SourceListNode ExcludePreferences::rowFor(const QString &storedPath) const
{
    // A path that no longer exists stays listed, as a file.
    return {storedPath, 1, !QFileInfo(mLayout.diskPath(mLayout.treePath(storedPath))).isDir()};
}

void ExcludePreferences::sortRows()
{
    std::stable_sort(mRows.begin(), mRows.end(),
                     [](const SourceListNode &a, const SourceListNode &b) { return !a.isAFile && b.isAFile; });
}

void ExcludePreferences::addToExclusionList(const QStringList &storedPaths)
{
    for (const QString &path : storedPaths) {
        const QString key = folded(path);
        const auto listed = std::find_if(mRows.begin(), mRows.end(),
                                         [&key](const SourceListNode &row) { return folded(row.name) == key; });
        if (listed != mRows.end())
            listed->state = 1;
        else
            mRows.push_back(rowFor(path));
    }
}

void ExcludePreferences::addFilesToExclusionList(const QStringList &diskPaths)
{
    if (diskPaths.isEmpty())
        return;
    QStringList stored;
    for (const QString &path : diskPaths)
        stored.append(mLayout.storedForm(mLayout.treePathOfDiskPath(path)));
    addToExclusionList(stored);
    sortRows();
    post(kAddObject, stored);
    changed();
}

void ExcludePreferences::removeFilesFromExclusionList(int row)
{
    if (!canRemove(row))
        return;
    post(kRemoveObject, mRows[size_t(row)].name);
    mRows.erase(mRows.begin() + row);
    changed();
}

void ExcludePreferences::toggleCheckBoxState(int row)
{
    if (!validRow(row, mRows.size()) || isDefault(mRows[size_t(row)].name))
        return;  // default rows cannot be unchecked
    SourceListNode &node = mRows[size_t(row)];
    if (node.state != 0)
        post(kRemoveObject, node.name);
    else
        post(kAddObject, QStringList{node.name});
    node.state = node.state == 0 ? 1 : 0;
    changed();
}

int ExcludePreferences::addPartialPathToExclusionList()
{
    if (!canAddPartial())
        return -1;
    mPartialRows.push_back({kNewItem, 1, true});
    changed();  // "New Item" is kept until the user names it
    return int(mPartialRows.size()) - 1;
}

void ExcludePreferences::setPartialName(int row, const QString &name)
{
    if (validRow(row, mPartialRows.size()) && !isDefault(mPartialRows[size_t(row)].name) && !name.trimmed().isEmpty())
        mPartialRows[size_t(row)].name = name;
    changed();
}

void ExcludePreferences::togglePartialState(int row)
{
    if (!validRow(row, mPartialRows.size()) || isDefault(mPartialRows[size_t(row)].name))
        return;
    SourceListNode &node = mPartialRows[size_t(row)];
    node.state = node.state == 0 ? 1 : 0;
    changed();
}

void ExcludePreferences::removePartialPathFromExclusionList(int row)
{
    if (!canRemovePartial(row))
        return;
    mPartialRows.erase(mPartialRows.begin() + row);
    changed();
}

bool ExcludePreferences::canRemove(int row) const
{
    return validRow(row, mRows.size()) && !isDefault(mRows[size_t(row)].name);
}

bool ExcludePreferences::canRemovePartial(int row) const
{
    return validRow(row, mPartialRows.size()) && !isDefault(mPartialRows[size_t(row)].name);
}

bool ExcludePreferences::canAddPartial() const
{
    return std::none_of(mPartialRows.begin(), mPartialRows.end(),
                        [](const SourceListNode &row) { return row.name == kNewItem; });
}

void ExcludePreferences::addRemoveFileToExclude(const QVariantMap &userInfo)
{
    if (userInfo.isEmpty())
        return;
    if (userInfo.firstKey() == kAddObject) {
        addToExclusionList({userInfo.first().toString()});
    } else {
        const QString path = userInfo.value(kRemoveFromClient).toString();
        const auto listed =
            std::find_if(mRows.begin(), mRows.end(), [&path](const SourceListNode &row) { return row.name == path; });
        if (listed != mRows.end() && !isDefault(path))
            mRows.erase(listed);
    }
    changed();
}

void ExcludePreferences::post(const QString &object, const QVariant &value)
{
    mNotifications.postNotificationName(Keys::kExclusionFromMonitor, object, {{object, value}});
}

void ExcludePreferences::changed()
{
    saveExcludePreference();
    emit rowsChanged();
}
