#pragma once

#include "client/backup/localtree/ListedEntry.h"
#include "client/backup/localtree/LocalTreeTimings.h"
#include "common/backupset/LocalTreeExclusions.h"
#include "common/volumes/LocalVolumeLayout.h"

#include <QObject>
#include <QThreadPool>

#include <atomic>
#include <chrono>
#include <memory>

// Lists folders of the local tree on worker threads. A listing only reads the
// disk: it hands its entries, filtered and in sibling order, back to the main
// thread, which alone changes the tree.
class FolderLister : public QObject
{
    Q_OBJECT

public:
    struct Request
    {
        QString folderPath;        // tree path
        QString diskPath;          // where the folder is on disk
        bool listsDrives = false;  // the tree's root: the start-up disk and the mounted drives
        bool showHidden = false;
        quint64 generation = 0;
        LocalVolumeLayout layout;
        LocalTreeExclusions exclusions;
    };

    explicit FolderLister(std::chrono::milliseconds pause, QObject *parent = nullptr);
    ~FolderLister() override;

    void list(const Request &request);
    // Stops every listing before its next entry; later listings do not start.
    void setCancelled(bool cancelled) { mCancelled->store(cancelled); }
    bool isCancelled() const { return mCancelled->load(); }
    // Listings whose result the main thread has not had yet.
    int runningListings() const { return mRunning->load(); }

    // Reads one folder on the calling thread.
    static FolderListing readFolder(const Request &request, const std::atomic<bool> &cancelled,
                                    std::chrono::milliseconds pause);

signals:
    void folderListed(const FolderListing &listing);

private:
    std::chrono::milliseconds mPause;
    std::shared_ptr<std::atomic<bool>> mCancelled = std::make_shared<std::atomic<bool>>(false);
    std::shared_ptr<std::atomic<int>> mRunning = std::make_shared<std::atomic<int>>(0);
    QThreadPool mPool;
};
