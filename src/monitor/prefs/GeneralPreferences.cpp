#include "monitor/prefs/GeneralPreferences.h"

#include "common/account/MultipleComputerKeys.h"
#include "common/backupset/BackupSetFiles.h"
#include "common/backupset/MonitorExclusionPreferences.h"
#include "common/categories/BoolValue.h"
#include "common/files/SettingsFileWriter.h"
#include "common/login/UserFiles.h"
#include "common/texts/QLLocalizedString.h"
#include "common/utility/QLUtility.h"
#include "common/volumes/LocalVolumeLayout.h"
#include "common/volumes/VolumeWatcher.h"
#include "monitor/prefs/MonitorPreferenceFile.h"
#include "platform/DistributedNotificationCenter.h"
#include "platform/PathRoots.h"
#include "platform/PathStandardizer.h"
#include "platform/PropertyList.h"

#include <QFileInfo>

namespace {

namespace Keys = MonitorExclusionPreferences;
const QString &kMultipleMacEnabledKey = MultipleComputerKeys::kEnableMultipleMacBackupKey;
const QString &kMultipleMacFolderKey = MultipleComputerKeys::kMultipleMacFolderName;
const QString kTimeMachineAdd = QStringLiteral("add");
const QString kTimeMachineRemove = QStringLiteral("Remove");

QString multipleMacStatePath()
{
    return PathStandardizer::standardizePath(QLLocalizedString(QStringLiteral("MultiplePCStateFilePath")));
}

bool flag(const QVariant &value, bool whenAbsent)
{
    return value.isValid() ? BoolValue::variantBoolValue(value) : whenAbsent;
}

}  // namespace

GeneralPreferences::GeneralPreferences(DistributedNotificationCenter &notifications, ClientMessageSender sendToClient)
    : mNotifications(notifications)
    , mSendToClient(std::move(sendToClient))
    , mVolumeWatcher(std::make_unique<VolumeWatcher>(PathRoots::volumesRoot()))
{
    const auto timeMachineChanged = [this] {
        loadTimeMachineBackupSet();
        emit preferencesChanged();
    };
    connect(&mNotifications, &DistributedNotificationCenter::notificationReceived, this,
            [this, timeMachineChanged](const QString &name) {
                if (name == Keys::kTimeMachineFromClient)
                    timeMachineChanged();
                else if (name == Keys::kShouldEnableVersionsButton)
                    emit preferencesChanged();
            });
    connect(mVolumeWatcher.get(), &VolumeWatcher::volumeMounted, this, timeMachineChanged);
    connect(mVolumeWatcher.get(), &VolumeWatcher::volumeUnmounted, this, timeMachineChanged);
    mVolumeWatcher->start();
}

GeneralPreferences::~GeneralPreferences() = default;

void GeneralPreferences::setUser(const QString &userName, bool isRuvoUser)
{
    mUserName = userName;
    mIsRuvoUser = isRuvoUser;
}

QString GeneralPreferences::getRemoteFolderName(const QString &computerName)
{
    QStringList words = computerName.split(u' ', Qt::SkipEmptyParts);
    if (!words.isEmpty() && words.last().startsWith(u'(') && words.last().endsWith(u')'))
        words.removeLast();
    QString name = words.join(u' ');
    static const QString removed = QStringLiteral("$%^`~!#&*()[]?;<>\u2019 '");
    for (const QChar c : removed)
        name.remove(c);
    qsizetype first = 0;
    qsizetype last = name.size();
    while (first < last && !name.at(first).isLetterOrNumber())
        ++first;
    while (last > first && !name.at(last - 1).isLetterOrNumber())
        --last;
    return name.mid(first, last - first);
}

void GeneralPreferences::loadPrefrences()
{
    const QVariantMap file = MonitorPreferenceFile::read();
    const QVariantMap user = file.value(mUserName).toMap();
    if (mIsRuvoUser) {
        const QString stored = multipleMacFolderNameFromFile();
        mFolderName = stored.isEmpty() ? getRemoteFolderName(QLUtility::machineName()) : stored;
    }
    mShowHiddenFiles = flag(file.value(Keys::kShowHiddenFilesKey), true);
    mEnableVersion = flag(user.value(Keys::kEnableVersion), false);
    mPromptRestoreDestination = flag(user.value(Keys::kPromptRestoreDestinationPanel), false);
    loadTimeMachineBackupSet();
    savePreferences();
    emit preferencesChanged();
}

bool GeneralPreferences::savePreferences()
{
    // Every account keeps its versions and prompt choices; only the folder name
    // belongs to storage-server accounts.
    const bool written = MonitorPreferenceFile::update([this](QVariantMap &preferences) {
        preferences.insert(Keys::kShowHiddenFilesKey, mShowHiddenFiles);
        if (mUserName.isEmpty())
            return;
        QVariantMap user = preferences.value(mUserName).toMap();
        user.insert(Keys::kEnableVersion, mEnableVersion);
        user.insert(Keys::kPromptRestoreDestinationPanel, mPromptRestoreDestination);
        preferences.insert(mUserName, user);
    });
    return written && (!mIsRuvoUser || mUserName.isEmpty() || saveMultipleMacState());
}

bool GeneralPreferences::saveMultipleMacState()
{
    if (mFolderName.isEmpty())
        mFolderName = getRemoteFolderName(QLUtility::machineName());
    const QString path = multipleMacStatePath();
    QVariantMap state = PropertyList::readDictionary(path);
    QVariantMap entry = state.value(mUserName).toMap();
    entry.insert(kMultipleMacEnabledKey, QStringLiteral("1"));
    entry.insert(kMultipleMacFolderKey, mFolderName);
    state.insert(mUserName, entry);
    QString error;
    return SettingsFileWriter::writeSettingsFile(path, state, PropertyList::kDefaultMode, &error);
}

QString GeneralPreferences::multipleMacFolderNameFromFile() const
{
    const QVariantMap entry = PropertyList::readDictionary(multipleMacStatePath()).value(mUserName).toMap();
    if (entry.value(kMultipleMacEnabledKey).toString() != QLatin1String("1"))
        return {};
    return entry.value(kMultipleMacFolderKey).toString();
}

void GeneralPreferences::setShowHiddenFiles(bool show)
{
    mShowHiddenFiles = show;
    savePreferences();
}

void GeneralPreferences::setEnableVersion(bool enable)
{
    mEnableVersion = enable;
    savePreferences();
}

bool GeneralPreferences::versionsAvailable() const
{
    return !mUserName.isEmpty() && QLUtility::isAppInBackupMode(mUserName);
}

void GeneralPreferences::selectRestoreDestinationPath(bool prompt)
{
    mPromptRestoreDestination = prompt;
    if (mSendToClient)
        mSendToClient(prompt ? QStringLiteral("1") : QStringLiteral("0"), kRestorePromptMessageType);
    savePreferences();
}

void GeneralPreferences::multipleMacOptionsBtnSelected(const QString &typed)
{
    mFolderName = getRemoteFolderName(typed.left(kFolderNameLength));
    savePreferences();
    emit preferencesChanged();
}

QString GeneralPreferences::timeMachineListPath() const
{
    const bool backupMode = QLUtility::isAppInBackupMode(mUserName);
    return UserFiles::path(backupMode ? QStringLiteral("TimeMachineBackupReferencePath")
                                      : QStringLiteral("TimeMachineSyncReferencePath"),
                           mUserName);
}

void GeneralPreferences::loadTimeMachineBackupSet()
{
    mTimeMachineVolumes.clear();
    if (mUserName.isEmpty())
        return;
    // A missing list leaves every row unchecked.
    const QStringList checked = BackupSetFiles::readList(timeMachineListPath()).value_or(QStringList());
    const LocalVolumeLayout layout = LocalVolumeLayout::current();
    for (const QString &folder : QLUtility::timeMachineFolders()) {
        const QString stored = layout.storedForm(layout.treePathOfDiskPath(folder));
        mTimeMachineVolumes.push_back({stored, checked.contains(stored)});
    }
}

void GeneralPreferences::toggleCheckBoxSate(int row)
{
    if (row < 0 || size_t(row) >= mTimeMachineVolumes.size())
        return;
    TimeMachineNode &node = mTimeMachineVolumes[size_t(row)];
    node.checkState = !node.checkState;
    const QString object = node.checkState ? kTimeMachineAdd : kTimeMachineRemove;
    mNotifications.postNotificationName(Keys::kTimeMachineFromMonitor, object, {{object, node.Path}});
    saveTimeMachineBackupSet();
    emit preferencesChanged();
}

bool GeneralPreferences::saveTimeMachineBackupSet() const
{
    QStringList checked;
    for (const TimeMachineNode &node : mTimeMachineVolumes)
        if (node.checkState)
            checked.append(node.Path);
    return BackupSetFiles::writeList(timeMachineListPath(), checked);
}

QString GeneralPreferences::timeMachineRowTitle(int row) const
{
    if (row == 0)
        return QStringLiteral("Time Machine backup");
    const QString volume = QFileInfo(QFileInfo(mTimeMachineVolumes.at(size_t(row)).Path).path()).fileName();
    return QStringLiteral("Time Machine backup - %1").arg(volume);
}
