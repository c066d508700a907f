#pragma once

#include "client/backup/localtree/LocalTreeTimings.h"
#include "common/volumes/LocalVolumeLayout.h"

#include <QObject>
#include <QStringList>
#include <QTimer>
#include <QVariantMap>

#include <atomic>
#include <memory>

class FolderSizeCalculator;
class QThread;

// Keeps the size file of the saved set: path (stored form) -> byte count as
// text, or "--" while a folder is not sized yet. Files and whole drives are
// sized at each save; folders later, one at a time on the size thread, which
// starts a while after the last save. The main thread is the only writer of the
// size file: the size thread hands its results back.
class BackupSetSizeKeeper : public QObject
{
    Q_OBJECT

public:
    static const QString kNotSized;  // "--"

    BackupSetSizeKeeper(std::unique_ptr<FolderSizeCalculator> calculator, const LocalVolumeLayout &layout,
                        const LocalTreeTimings &timings, QObject *parent = nullptr);
    ~BackupSetSizeKeeper() override;

    // The size file, its flag file and the user name the flag file holds.
    void setFiles(const QString &sizeFilePath, const QString &flagFilePath, const QString &userName);
    // Called after each save of the set file with the saved paths.
    void saveBackupSetForSizeCalculation(const QStringList &savedPaths);
    bool isSizing() const { return mSizeThread != nullptr; }

signals:
    // The size file was written.
    void sizesWritten();

private:
    QString sizeNow(const QString &storedPath) const;
    void startSizeCalculation();
    void sizeThreadFinished(const QVariantMap &results, bool cancelled);
    void writeSizeFile(int attempt);
    void writeFlagFile();

    std::shared_ptr<FolderSizeCalculator> mCalculator;
    const LocalVolumeLayout &mLayout;
    LocalTreeTimings mTimings;
    QString mSizeFilePath;
    QString mFlagFilePath;
    QString mUserName;
    QStringList mSavedPaths;
    QVariantMap mSizes;
    QTimer mStartTimer;
    QTimer mRetryTimer;
    int mWriteAttempt = 0;
    std::unique_ptr<QThread> mSizeThread;
    std::shared_ptr<std::atomic<bool>> mCancelRun;
    bool mStartWhenDone = false;
};
