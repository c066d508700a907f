#pragma once

#include <QAtomicInt>
#include <QString>

// The folder ".txruvo-tmp" at the top of a data root, where a backup run
// writes every copy before it gets its real name, so that whatever a killed
// run leaves behind lies in one place. Each run holds a lock file there
// ("<run>.lock", flock) for its whole life; a run that starts removes the
// temporary files of every run whose lock no process holds any more.
class StagingArea
{
public:
    static constexpr const char *kFolderName = ".txruvo-tmp";

    explicit StagingArea(const QString &dataRoot);
    ~StagingArea();
    StagingArea(const StagingArea &) = delete;
    StagingArea &operator=(const StagingArea &) = delete;

    // Makes the folder, takes this run's lock and removes the leftovers of
    // dead runs; errno is set on failure.
    bool open();
    // A fresh temporary name: "<folder>/<run>-<n>.part".
    QString newPath();
    // A descriptor of the folder, for syncing its file system.
    int folderFd() const { return mFolderFd; }

private:
    bool takeLock();
    void removeLeftovers();

    QString mFolder;
    QString mRun;  // "<pid>-<random>": unique even when process ids are reused
    int mFolderFd = -1;
    int mLockFd = -1;
    QAtomicInt mCounter;
};
