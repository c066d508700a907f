#include "client/backup/localtree/BackupSetSizeKeeper.h"

#include "client/backup/localtree/FolderSizeCalculator.h"
#include "client/backup/localtree/SerialWorker.h"
#include "common/backupset/BackupSetFiles.h"
#include "common/files/DirectiryCreation.h"
#include "common/files/SettingsFileWriter.h"
#include "platform/PropertyList.h"
#include "platform/VolumeFacts.h"

#include <QFileInfo>
#include <QSaveFile>
#include <QSet>
#include <QThread>
#include <QtDebug>

#include <thread>

const QString BackupSetSizeKeeper::kNotSized = QStringLiteral("--");

namespace {

// Names of the work on the worker: the newest save of a file replaces a waiting one.
const QString kSizeFileWork = QStringLiteral("size file ");
const QString kSetFileWork = QStringLiteral("set file ");

QString sizeNow(const LocalVolumeLayout &layout, const QString &storedPath)
{
    const QString diskPath = layout.diskPath(layout.treePath(storedPath));
    // A whole drive is measured from its file system, not walked.
    const bool isWholeDrive = storedPath == QLatin1String("/") || (layout.isUnderVolumesRoot(storedPath) &&
                                                                   QFileInfo(storedPath).path() == layout.volumesRoot);
    if (isWholeDrive)
        return QString::number(VolumeFacts::usedBytes(diskPath));
    const QFileInfo item(diskPath);
    if (item.exists() && !item.isDir())
        return QString::number(item.size());
    return {};
}

void writeFlagFile(const QString &path, const QString &userName)
{
    QSaveFile flag(path);
    if (!Directiry_Creation::createPrivateDirectoryHierarchyAtPath(QFileInfo(path).path()) ||
        !flag.open(QIODevice::WriteOnly) || !flag.setPermissions(PropertyList::kOwnerReadWrite) ||
        flag.write(userName.toUtf8()) < 0 || !flag.commit())
        qWarning().noquote() << "could not write the size flag file" << path;
}

}  // namespace

// The figures as the size file holds them; only the worker reads and changes them.
struct BackupSetSizeKeeper::SizeFile
{
    QString path;
    QVariantMap sizes;

    void use(const QString &sizeFilePath)
    {
        if (sizeFilePath == path)
            return;
        path = sizeFilePath;
        sizes = PropertyList::readDictionary(path);
    }

    // Keeps the known figures of the saved paths, sizes files and drives that are new, and
    // answers the folders left to size.
    QStringList update(const LocalVolumeLayout &layout, const QStringList &savedPaths)
    {
        QVariantMap updated;
        QStringList folders;
        for (const QString &path : savedPaths) {
            QString size = sizes.value(path).toString();
            if (size.isEmpty() || size == kNotSized)
                size = sizeNow(layout, path);
            if (size.isEmpty()) {
                size = kNotSized;
                folders.append(path);
            }
            updated.insert(path, size);
        }
        sizes = updated;
        return folders;
    }

    bool write(const Files &files, const LocalTreeTimings &timings) const
    {
        for (int attempt = 1;; ++attempt) {
            QString error;
            if (SettingsFileWriter::writeSettingsFile(path, sizes, PropertyList::kDefaultMode, &error)) {
                writeFlagFile(files.flagFile, files.userName);
                return true;
            }
            qWarning().noquote() << "could not write the size file" << path << error;
            if (attempt >= kSizeFileWriteAttempts)
                return false;
            std::this_thread::sleep_for(timings.sizeWriteRetryPause);
        }
    }
};

BackupSetSizeKeeper::BackupSetSizeKeeper(std::unique_ptr<FolderSizeCalculator> calculator,
                                         const LocalVolumeLayout &layout, const LocalTreeTimings &timings,
                                         SerialWorker &worker, QObject *parent)
    : QObject(parent)
    , mCalculator(std::move(calculator))
    , mLayout(layout)
    , mTimings(timings)
    , mWorker(worker)
    , mSizeFile(std::make_shared<SizeFile>())
{
    mStartTimer.setSingleShot(true);
    mStartTimer.setInterval(timings.sizeRunDelay);
    connect(&mStartTimer, &QTimer::timeout, this, &BackupSetSizeKeeper::startSizeCalculation);
}

BackupSetSizeKeeper::~BackupSetSizeKeeper()
{
    if (mSizeThread) {
        mCancelRun->store(true);
        mSizeThread->wait();
    }
    // The worker's work for this keeper reports back to it.
    mWorker.finish();
}

void BackupSetSizeKeeper::setFiles(const QString &sizeFilePath, const QString &flagFilePath, const QString &userName)
{
    mFiles = {sizeFilePath, flagFilePath, userName};
}

void BackupSetSizeKeeper::saveBackupSetForSizeCalculation(const QStringList &savedPaths, const QString &setFilePath,
                                                          const std::function<void()> &saved)
{
    saveBackupSetForSizeCalculation([savedPaths] { return savedPaths; }, setFilePath, saved);
}

void BackupSetSizeKeeper::saveBackupSetForSizeCalculation(const std::function<QStringList()> &pathsToSave,
                                                          const QString &setFilePath,
                                                          const std::function<void()> &saved)
{
    const QString work = setFilePath.isEmpty() ? kSizeFileWork + mFiles.sizeFile : kSetFileWork + setFilePath;
    mWorker.post(work, [this, sizeFile = mSizeFile, files = mFiles, layout = mLayout, timings = mTimings, pathsToSave,
                        setFilePath, saved] {
        const QStringList savedPaths = pathsToSave();
        if (!setFilePath.isEmpty() && !BackupSetFiles::writeList(setFilePath, savedPaths))
            return;
        sizeFile->use(files.sizeFile);
        const QStringList folders = sizeFile->update(layout, savedPaths);
        const bool written = sizeFile->write(files, timings);
        QMetaObject::invokeMethod(this, [this, folders, written, saved] {
            sizesSaved(folders);
            if (written)
                emit sizesWritten();
            if (saved)
                saved();
        });
    });
}

void BackupSetSizeKeeper::sizesSaved(const QStringList &foldersToSize)
{
    mFoldersToSize = foldersToSize;
    if (foldersToSize.isEmpty())
        return;
    // Saves in quick succession start one sizing, a while after the last one.
    if (mCancelRun)
        mCancelRun->store(true);
    mStartTimer.start();
}

void BackupSetSizeKeeper::startSizeCalculation()
{
    if (mSizeThread) {
        // The old run stops before its next folder; the new one starts when it has ended.
        mCancelRun->store(true);
        mStartWhenDone = true;
        return;
    }
    if (mFoldersToSize.isEmpty())
        return;
    auto cancelled = std::make_shared<std::atomic<bool>>(false);
    auto results = std::make_shared<QVariantMap>();
    mCancelRun = cancelled;
    mSizeThread.reset(
        QThread::create([calculator = mCalculator, layout = mLayout, folders = mFoldersToSize, cancelled, results] {
            for (const QString &folder : folders) {
                if (cancelled->load())
                    return;
                results->insert(folder, calculator->sizeOfFolder(layout.diskPath(layout.treePath(folder))));
            }
        }));
    connect(
        mSizeThread.get(), &QThread::finished, this,
        [this, cancelled, results] { sizeThreadFinished(*results, cancelled->load()); }, Qt::QueuedConnection);
    mSizeThread->start();
}

void BackupSetSizeKeeper::sizeThreadFinished(const QVariantMap &results, bool cancelled)
{
    mSizeThread->wait();
    mSizeThread.reset();
    if (!cancelled) {
        const QSet<QString> sized(results.keyBegin(), results.keyEnd());
        mFoldersToSize.removeIf([&sized](const QString &folder) { return sized.contains(folder); });
        mWorker.post([this, sizeFile = mSizeFile, files = mFiles, timings = mTimings, results] {
            sizeFile->use(files.sizeFile);
            for (auto it = results.cbegin(); it != results.cend(); ++it) {
                if (sizeFile->sizes.value(it.key()).toString() == kNotSized)
                    sizeFile->sizes.insert(it.key(), it.value());
            }
            if (sizeFile->write(files, timings))
                QMetaObject::invokeMethod(this, [this] { emit sizesWritten(); });
        });
    }
    if (std::exchange(mStartWhenDone, false))
        startSizeCalculation();
}
