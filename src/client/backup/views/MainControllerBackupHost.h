#pragma once

#include "client/backup/cleanup/ArchiveCleanupIndex.h"
#include "client/backup/now/BackupViewMainController.h"
#include "session/manager/BackedUpFileQueue.h"

class TXMainController;
class TXTabViewController;

// The Backup tab's main controller in the program: the client's TXMainController
// for the account, drive, index and day file, and the sidebar for the mini
// progress, the log view and the quota. The index is the current drive's index
// manager, for Backup Now and Cleanup Now.
class MainControllerBackupHost : public BackupViewMainController, public ArchiveCleanupIndex, private BackedUpFileQueue
{
public:
    MainControllerBackupHost(TXMainController &mainController, TXTabViewController &tabs);

    bool isReIndexInProgress() const override;
    QString currentDestinationDrive() const override;
    QString mpcName() const override;
    bool isAppInBackupMode() const override;
    const User &userObject() override;
    QVariantMap getPreferencesSettingForUser(const QString &userName) const override;
    void setOperationActive(bool active) override;
    BackedUpFileQueue *backedUpFileQueue() override { return this; }
    void sendSessionLogInformation(const SessionLogReport &report) override;
    void displayLogView() override;
    void upgrade() override;
    void setBackupMiniProgressHidden(bool hidden) override;
    void setBackupMiniPercentage(const QString &text) override;
    void indexQueuedFilesNow() override;
    // The Restore page's refresh guide, at the next showing of the Restore tab.
    void setDisplayRefreshGuide(bool shown) override;
    void calQuota() override;

    // --- ArchiveCleanupIndex ---
    std::optional<QStringList> getAllEntriesFromMainDBWithPathLike(const QString &indexPath) override;
    void addFileToDelete(const QString &indexPath) override;

private:
    // The index manager of the current drive, when there is one.
    void addBackedUpFile(const BackedUpFile &file) override;

    TXMainController &mMainController;
    TXTabViewController &mTabs;
};
