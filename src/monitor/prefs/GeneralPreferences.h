#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class DistributedNotificationCenter;
class VolumeWatcher;

// One row of the Time Machine list: a "Backups.backupdb" folder and whether
// it is part of the backup set.
struct TimeMachineNode
{
    QString Path;
    bool checkState = false;
};

// The General pane without its display: hidden files, versions, the restore
// prompt, the computer's folder name for several computers on one drive and
// the Time Machine list, kept in the files the client reads. Main thread only.
class GeneralPreferences : public QObject
{
    Q_OBJECT
public:
    // Sends a message to the client: payload and type.
    using ClientMessageSender = std::function<void(const QString &payload, int type)>;
    static constexpr int kRestorePromptMessageType = 8;
    static constexpr int kFolderNameLength = 50;

    // Follows the client's notifications and the drives being attached or detached.
    GeneralPreferences(DistributedNotificationCenter &notifications, ClientMessageSender sendToClient);
    ~GeneralPreferences() override;

    // The account whose preferences the pane shows; storage-server accounts
    // also keep a folder name of this computer.
    void setUser(const QString &userName, bool isRuvoUser);
    const QString &userName() const { return mUserName; }

    // Reads every setting and saves them back, so the files hold what is shown.
    void loadPrefrences();
    // False when a file could not be written.
    bool savePreferences();

    bool showHiddenFiles() const { return mShowHiddenFiles; }
    void setShowHiddenFiles(bool show);
    bool enableVersion() const { return mEnableVersion; }
    void setEnableVersion(bool enable);
    // Versions are kept in backup mode only.
    bool versionsAvailable() const;
    bool promptRestoreDestination() const { return mPromptRestoreDestination; }
    // Tells the client first ("1" or "0", type 8), then saves.
    void selectRestoreDestinationPath(bool prompt);

    bool isRuvoUser() const { return mIsRuvoUser; }
    const QString &folderName() const { return mFolderName; }
    // The typed name, cleaned; an empty result falls back to the computer's name.
    void multipleMacOptionsBtnSelected(const QString &typed);

    const std::vector<TimeMachineNode> &timeMachineVolumes() const { return mTimeMachineVolumes; }
    void loadTimeMachineBackupSet();
    // Flips the row, tells the client and saves the list of the current mode.
    void toggleCheckBoxSate(int row);
    // "Time Machine backup" for the first row, "Time Machine backup - <drive>" for the others.
    QString timeMachineRowTitle(int row) const;

    // The folder name a computer name gives: a trailing "(n)" word dropped,
    // the characters "$%^`~!#&*()[]?;<>’ '" removed, the ends trimmed of
    // anything but letters and digits. "Jane’s MacBook Pro (2)" gives
    // "JanesMacBookPro", "-Studio-" gives "Studio", "(&)" gives "".
    static QString getRemoteFolderName(const QString &computerName);

signals:
    void preferencesChanged();

private:
    QString multipleMacFolderNameFromFile() const;
    QString timeMachineListPath() const;
    bool saveTimeMachineBackupSet() const;
    bool saveMultipleMacState();

    DistributedNotificationCenter &mNotifications;
    ClientMessageSender mSendToClient;
    QString mUserName;
    bool mIsRuvoUser = false;
    bool mShowHiddenFiles = true;
    bool mEnableVersion = false;
    bool mPromptRestoreDestination = false;
    QString mFolderName;
    std::vector<TimeMachineNode> mTimeMachineVolumes;
    std::unique_ptr<VolumeWatcher> mVolumeWatcher;
};
