#pragma once

#include "client/backup/localtree/LocalTreeTimings.h"
#include "common/volumes/LocalVolumeLayout.h"

#include <QObject>
#include <QStringList>
#include <QTimer>
#include <QVariantMap>

#include <atomic>
#include <functional>
#include <memory>

class FolderSizeCalculator;
class QThread;
class SerialWorker;

// Keeps the size file of the saved set: path (stored form) -> byte count as
// text, or "--" while a folder is not sized yet. Files and whole drives are
// sized at each save; folders later, one at a time on the size thread, which
// starts a while after the last save. The file worker is the only writer of the
// size file and the only keeper of its figures: each save sizes only the paths it
// does not know yet, and saves in quick succession write the file once, with the
// newest set.
class BackupSetSizeKeeper : public QObject
{
    Q_OBJECT

public:
    static const QString kNotSized;  // "--"

    BackupSetSizeKeeper(std::unique_ptr<FolderSizeCalculator> calculator, const LocalVolumeLayout &layout,
                        const LocalTreeTimings &timings, SerialWorker &worker, QObject *parent = nullptr);
    ~BackupSetSizeKeeper() override;

    // The size file, its flag file and the user name the flag file holds.
    void setFiles(const QString &sizeFilePath, const QString &flagFilePath, const QString &userName);
    // Called after each save of the set file with the saved paths. Given the set file, the
    // worker first writes the paths there and goes on only when that succeeded; saved() is
    // then called on this object's thread. Saves of one file in quick succession are written
    // once, with the newest paths.
    void saveBackupSetForSizeCalculation(const QStringList &savedPaths, const QString &setFilePath = {},
                                         const std::function<void()> &saved = {});
    // The same with the paths worked out on the worker.
    void saveBackupSetForSizeCalculation(const std::function<QStringList()> &savedPaths, const QString &setFilePath,
                                         const std::function<void()> &saved);
    bool isSizing() const { return mSizeThread != nullptr; }

signals:
    // The size file was written.
    void sizesWritten();

private:
    struct SizeFile;
    struct Files
    {
        QString sizeFile;
        QString flagFile;
        QString userName;
    };

    void sizesSaved(const QStringList &foldersToSize);
    void startSizeCalculation();
    void sizeThreadFinished(const QVariantMap &results, bool cancelled);

    std::shared_ptr<FolderSizeCalculator> mCalculator;
    const LocalVolumeLayout &mLayout;
    LocalTreeTimings mTimings;
    SerialWorker &mWorker;
    std::shared_ptr<SizeFile> mSizeFile;  // touched on the worker only
    Files mFiles;
    QStringList mFoldersToSize;
    QTimer mStartTimer;
    std::unique_ptr<QThread> mSizeThread;
    std::shared_ptr<std::atomic<bool>> mCancelRun;
    bool mStartWhenDone = false;
};
