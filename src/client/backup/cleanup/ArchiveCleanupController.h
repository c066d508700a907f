#pragma once

#include "client/backup/cleanup/ArchiveCleanupDeleter.h"
#include "client/backup/logs/ArchiveCleanupSessionLog.h"
#include "common/logging/QLBackupProgressLogger.h"

#include <QObject>
#include <QStringList>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>

class AlertPresenter;
class ArchiveCleanupIndex;
class ArchiveCleanupView;
class BackupViewMainController;

struct ArchiveCleanupTimings
{
    // From the end of a cleanup to the quota's new measurement.
    std::chrono::milliseconds quotaDelay{5000};
};

// Cleanup Now: finds on a thread of its own the stored items of the backup set
// whose local files are gone, refuses when they are more than a quarter of what
// the set holds on the drive, lets the user shorten the list, and has the
// confirmed items deleted from the drive and from the index, with a session log
// and a report of the run.
class ArchiveCleanupController : public QObject, public ArchiveCleanupDeleteEvents
{
    Q_OBJECT

public:
    // What the cleanup reads of the Backup tab: the saved set and whether a backup runs.
    struct BackupTab
    {
        std::function<QStringList()> backupSet;
        std::function<bool()> isBackupRunning;
    };

    ArchiveCleanupController(BackupViewMainController &mainController, AlertPresenter &alerts, BackupTab backupTab,
                             ArchiveCleanupTimings timings = {}, QObject *parent = nullptr);
    ~ArchiveCleanupController() override;

    void setView(ArchiveCleanupView *view) { mView = view; }
    // Null: no index (the scan reports that it cannot be read).
    void setIndex(ArchiveCleanupIndex *index) { mIndex = index; }
    // Null: nothing can be deleted.
    void setDeleter(ArchiveCleanupDeleter *deleter) { mDeleter = deleter; }

    // The Cleanup Now button.
    void onSync();
    // Continue in the message window: the scan starts unless one runs.
    void continueSync();
    bool isScanning() const { return mScanThread.joinable() && !mScanEnded; }
    // The user closed the message window: a running scan stops without a word.
    void messageWindowClosed();
    void listWindowClosed() { mListWindowOpen = false; }
    // The delete button of the list window.
    void sync();
    // The candidates of the last scan.
    const QStringList &candidates() const { return mCandidates; }
    int mTotalFileCount() const { return mTotalFiles; }

    // --- ArchiveCleanupDeleteEvents ---
    void deleteDidStart() override;
    void deleteDidReceiveData(const QStringList &deletedPaths) override;
    void deleteDidReceiveErrors(const QString &error, const QString &path) override;
    void deleteDidFinishSuccessfully() override;
    void deleteDidFailWithError(const QString &error) override;
    void deleteDidCancel() override;

signals:
    // The scan thread's result, delivered on the main thread; indexRead is false
    // when the index could not be read.
    void scanFinished(const QStringList &candidates, qsizetype entryCount, bool cancelled, bool indexRead);

private:
    void alert(const QString &text, bool modal);
    // The computer folder the index paths begin with; "" when there is none.
    QString computerFolder() const;
    void checkForFilesToDelete(const QStringList &setPaths, const QString &computerFolder);
    void scanEnded(const QStringList &candidates, qsizetype entryCount, bool cancelled, bool indexRead);
    void stopScan();
    void deletionEnded();
    void report(const QString &endTime);

    BackupViewMainController &mMainController;
    AlertPresenter &mAlerts;
    BackupTab mBackupTab;
    ArchiveCleanupTimings mTimings;
    ArchiveCleanupView *mView = nullptr;
    ArchiveCleanupIndex *mIndex = nullptr;
    ArchiveCleanupDeleter *mDeleter = nullptr;
    bool mMessageWindowOpen = false;
    bool mListWindowOpen = false;
    std::thread mScanThread;
    std::atomic<bool> mScanCancelled{false};
    std::atomic<bool> mScanEnded{true};
    QStringList mCandidates;
    int mTotalFiles = 0;
    int mDeletedCount = 0;  // items the engine reported deleted in this run
    QLBackupProgressLogger mSyncDeleteLogger;
    std::unique_ptr<ArchiveCleanupSessionLog> mSessionLog;
};
