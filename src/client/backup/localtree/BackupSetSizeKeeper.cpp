#include "client/backup/localtree/BackupSetSizeKeeper.h"

#include "client/backup/localtree/FolderSizeCalculator.h"
#include "common/files/DirectiryCreation.h"
#include "common/files/SettingsFileWriter.h"
#include "platform/PropertyList.h"
#include "platform/VolumeFacts.h"

#include <QFileInfo>
#include <QSaveFile>
#include <QThread>
#include <QtDebug>

const QString BackupSetSizeKeeper::kNotSized = QStringLiteral("--");

BackupSetSizeKeeper::BackupSetSizeKeeper(std::unique_ptr<FolderSizeCalculator> calculator,
                                         const LocalVolumeLayout &layout, const LocalTreeTimings &timings,
                                         QObject *parent)
    : QObject(parent)
    , mCalculator(std::move(calculator))
    , mLayout(layout)
    , mTimings(timings)
{
    mStartTimer.setSingleShot(true);
    mStartTimer.setInterval(timings.sizeRunDelay);
    connect(&mStartTimer, &QTimer::timeout, this, &BackupSetSizeKeeper::startSizeCalculation);
    mRetryTimer.setSingleShot(true);
    mRetryTimer.setInterval(timings.sizeWriteRetryPause);
    connect(&mRetryTimer, &QTimer::timeout, this, [this] { writeSizeFile(mWriteAttempt + 1); });
}

BackupSetSizeKeeper::~BackupSetSizeKeeper()
{
    if (mSizeThread) {
        mCancelRun->store(true);
        mSizeThread->wait();
    }
}

void BackupSetSizeKeeper::setFiles(const QString &sizeFilePath, const QString &flagFilePath, const QString &userName)
{
    if (sizeFilePath != mSizeFilePath)
        mSizes = PropertyList::readDictionary(sizeFilePath);
    mSizeFilePath = sizeFilePath;
    mFlagFilePath = flagFilePath;
    mUserName = userName;
}

QString BackupSetSizeKeeper::sizeNow(const QString &storedPath) const
{
    const QString diskPath = mLayout.diskPath(mLayout.treePath(storedPath));
    // A whole drive is measured from its file system, not walked.
    const bool isWholeDrive = storedPath == QLatin1String("/") || (mLayout.isUnderVolumesRoot(storedPath) &&
                                                                   QFileInfo(storedPath).path() == mLayout.volumesRoot);
    if (isWholeDrive)
        return QString::number(VolumeFacts::usedBytes(diskPath));
    const QFileInfo item(diskPath);
    if (item.exists() && !item.isDir())
        return QString::number(item.size());
    return {};
}

void BackupSetSizeKeeper::saveBackupSetForSizeCalculation(const QStringList &savedPaths)
{
    QVariantMap sizes;
    bool anyFolderToSize = false;
    for (const QString &path : savedPaths) {
        QString size = mSizes.value(path).toString();
        if (size.isEmpty() || size == kNotSized)
            size = sizeNow(path);
        if (size.isEmpty()) {
            size = kNotSized;
            anyFolderToSize = true;
        }
        sizes.insert(path, size);
    }
    mSizes = sizes;
    mSavedPaths = savedPaths;
    writeSizeFile(1);
    if (anyFolderToSize) {
        // Saves in quick succession start one sizing, a while after the last one.
        if (mCancelRun)
            mCancelRun->store(true);
        mStartTimer.start();
    }
}

void BackupSetSizeKeeper::startSizeCalculation()
{
    if (mSizeThread) {
        // The old run stops before its next folder; the new one starts when it has ended.
        mCancelRun->store(true);
        mStartWhenDone = true;
        return;
    }
    QStringList folders;
    for (const QString &path : std::as_const(mSavedPaths)) {
        if (mSizes.value(path).toString() == kNotSized)
            folders.append(path);
    }
    if (folders.isEmpty())
        return;
    auto cancelled = std::make_shared<std::atomic<bool>>(false);
    auto results = std::make_shared<QVariantMap>();
    mCancelRun = cancelled;
    mSizeThread.reset(QThread::create([calculator = mCalculator, layout = mLayout, folders, cancelled, results] {
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
        for (auto it = results.cbegin(); it != results.cend(); ++it) {
            if (mSizes.value(it.key()).toString() == kNotSized)
                mSizes.insert(it.key(), it.value());
        }
        writeSizeFile(1);
    }
    if (std::exchange(mStartWhenDone, false))
        startSizeCalculation();
}

void BackupSetSizeKeeper::writeSizeFile(int attempt)
{
    mRetryTimer.stop();
    QString error;
    if (SettingsFileWriter::writeSettingsFile(mSizeFilePath, mSizes, PropertyList::kDefaultMode, &error)) {
        writeFlagFile();
        emit sizesWritten();
        return;
    }
    qWarning().noquote() << "could not write the size file" << mSizeFilePath << error;
    if (attempt < kSizeFileWriteAttempts) {
        mWriteAttempt = attempt;
        mRetryTimer.start();
    }
}

void BackupSetSizeKeeper::writeFlagFile()
{
    QSaveFile flag(mFlagFilePath);
    if (!Directiry_Creation::createPrivateDirectoryHierarchyAtPath(QFileInfo(mFlagFilePath).path()) ||
        !flag.open(QIODevice::WriteOnly) || !flag.setPermissions(PropertyList::kOwnerReadWrite) ||
        flag.write(mUserName.toUtf8()) < 0 || !flag.commit())
        qWarning().noquote() << "could not write the size flag file" << mFlagFilePath;
}
