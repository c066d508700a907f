#pragma once

#include "session/enumeration/FoundFile.h"

#include <QString>
#include <QStringDecoder>
#include <QStringList>

#include <atomic>
#include <chrono>
#include <functional>
#include <sys/types.h>
#include <thread>

class folderEnumeratorDelegateProtocol;

struct FolderWalkTimings
{
    // A short pause now and then keeps the disk and the interface responsive during a long walk.
    std::chrono::microseconds walkPause{1000};
};

// Walks folder trees for a backup session (every file of the selection) and
// for the size column of the local tree (one folder's bytes). Folders are read
// in bulk, each entry typed by the folder's own record; a link inside a walked
// folder is reported as an item of its own and never entered, so a link loop
// cannot trap the walk.
// Below a selected folder the walk enters the file systems of local disks
// mounted there, tells of every other mount it passes over, and passes over
// the skipped folders (pseudo file systems, the drive's own data).
// Measuring files costs a status call each, the bulk of a walk's time: a walk
// told not to measure them reports every size as 0.
class FolderEnumerator
{
public:
    using Timings = FolderWalkTimings;
    using Clock = std::chrono::steady_clock;
    // Told of each pause when it is over, with its real start and end, on the walk's thread.
    using PauseListener = std::function<void(Clock::time_point from, Clock::time_point to)>;
    // The walk pauses once every this many entries.
    static constexpr int kEntriesBetweenPauses = 50;
    // Sync mode reports files in batches of at most this many.
    static constexpr int kBatchSize = 10000;

    explicit FolderEnumerator(Timings timings = {});
    ~FolderEnumerator();

    void setDelegate(folderEnumeratorDelegateProtocol *delegate) { mDelegate = delegate; }
    void shouldEnumerateFolder(bool enumerate) { mEnumerateFolder = enumerate; }
    void stopEnumeration() { mEnumerateFolder = false; }
    // Backup mode reports each file singly; otherwise, with mIsBackupOrRestore, in folder batches.
    void setMBackupMode(bool backupMode) { mBackupMode = backupMode; }
    bool mBackupModeValue() const { return mBackupMode; }
    void setMIsBackupOrRestore(bool batches) { mIsBackupOrRestore = batches; }
    bool mIsBackupOrRestoreValue() const { return mIsBackupOrRestore; }
    // Folders met during the walk that are never entered (exact paths).
    void setSkippedFolders(const QStringList &folders) { mSkippedFolders = folders; }
    // Whether files are measured (the default) or listed alone.
    void setMeasuresFiles(bool measures) { mMeasuresFiles = measures; }
    void setPauseListener(PauseListener listener) { mPauseListener = std::move(listener); }

    // The backup walk of the selection, on the caller's thread.
    void getFolderSize(const QStringList &paths);
    // The size calculation, on a thread of its own; a stop ends it without didEndCalculation.
    void startFolderSizeCalculation(const QStringList &paths);
    void FolderSize(const QStringList &paths);

    // The bytes of the files below one folder, reporting them as the mode says.
    quint64 fastFolderSize(const QString &folder);

    // The reason an item whose name is not UTF-8 is reported with, and left out.
    static inline const QString kNotUtf8 = QStringLiteral("name is not valid UTF-8");

    // The folders the walk passes over below "/" on Linux, besides the drives.
    static QStringList systemFoldersToSkip();

private:
    quint64 walkFolder(int folderFd, dev_t device);
    quint64 enterFolder(int parentFd, const char *name, dev_t device);
    QString pathInFolder(const char *name);
    void reportError(const QString &path, int error);
    void reportError(const QString &path, const QString &reason);
    void reportFile(const QString &path, quint64 size);
    void flushBatch();
    void pauseNowAndThen();

    Timings mTimings;
    PauseListener mPauseListener;
    folderEnumeratorDelegateProtocol *mDelegate = nullptr;
    std::atomic<bool> mEnumerateFolder{false};
    bool mBackupMode = false;
    bool mIsBackupOrRestore = false;
    bool mMeasuresFiles = true;
    QStringList mSkippedFolders;
    QString mFolder;  // the folder walked now, ending in "/"
    QStringDecoder mNameDecoder{QStringDecoder::System, QStringDecoder::Flag::Stateless};
    QString parentFolderName;
    FoundFiles mTempFileList;
    long mEntriesSincePause = 0;
    std::thread mSizeThread;
};
