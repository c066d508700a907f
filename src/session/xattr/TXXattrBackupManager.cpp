#include "session/xattr/TXXattrBackupManager.h"

#include "common/context/ProgramContext.h"
#include "platform/PropertyList.h"
#include "platform/TXXattrWrapper.h"
#include "session/upload/RetriedUpload.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace {

const QString kListSuffix = QStringLiteral(".txxlist");
const QString kSourceFileName = QStringLiteral("source.txt");
const QString kErrorFileName = QStringLiteral("error.rtf");
const QString kFinderInfoName = QStringLiteral(".DS_Store");

// Every entry of a folder, hidden ones and broken links included; none when it cannot be listed.
QStringList entriesOf(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// A folder's entries, or none when the path is no folder (a link to one is not followed).
QStringList childrenOf(const QString &path)
{
    const QFileInfo info(path);
    return info.isDir() && !info.isSymLink() ? entriesOf(path) : QStringList();
}

QVariantMap rowOf(const QString &path)
{
    QVariantMap row;
    const TXXattrWrapper::Attributes attributes = TXXattrWrapper::allXattributes(path, false);
    for (auto it = attributes.cbegin(); it != attributes.cend(); ++it)
        row.insert(it.key(), it.value());
    return row;
}

void applyRow(const QVariant &row, const QString &path)
{
    TXXattrWrapper::Attributes attributes;
    const QVariantMap map = row.toMap();
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        if (it.value().typeId() == QMetaType::QByteArray)
            attributes.insert(it.key(), it.value().toByteArray());
    }
    TXXattrWrapper::setAllXattributes(attributes, path, false);
}

// A small text file of this user's alone, written whole or not at all.
bool writePrivateText(const QString &path, const QString &text)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.setPermissions(PropertyList::kOwnerReadWrite) &&
           file.write(text.toUtf8()) >= 0 && file.commit();
}

}  // namespace

TXXattrBackupManager::~TXXattrBackupManager()
{
    {
        std::lock_guard lock(mLock);
        mStopping = true;
        for (RetriedUpload *upload : mRunning)
            upload->stop();
    }
    waitForUploads();
}

TXXattrBackupManager &TXXattrBackupManager::SharedTXXattrBackupManager()
{
    return ProgramContext::current().sharedObject<TXXattrBackupManager>();
}

void TXXattrBackupManager::setAccount(const Backup::Account &account)
{
    std::lock_guard lock(mLock);
    mAccount = account;
}

QString TXXattrBackupManager::listFilePath(const QString &folder, const QString &entry)
{
    return QStringLiteral("%1/.__%2%3").arg(folder, entry, kListSuffix);
}

void TXXattrBackupManager::storeXattributesForTimeMachine(const QString &database, const QString &outputFolder)
{
    for (const QString &entry : entriesOf(database)) {
        if (entry == kFinderInfoName)
            continue;
        const QString entryPath = database + u'/' + entry;
        QVariantMap list{{QLatin1String(kEntryRowKey), rowOf(entryPath)}};
        for (const QString &child : childrenOf(entryPath))
            list.insert(child, rowOf(entryPath + u'/' + child));
        PropertyList::write(listFilePath(outputFolder, entry), list, PropertyList::kOwnerReadWrite);
    }
}

void TXXattrBackupManager::backupFile(const QString &outputFolder, const QString &destinationPath,
                                      const QString &databasePath)
{
    QStringList lines;
    for (const QString &name : QDir(outputFolder).entryList(QDir::Files | QDir::Hidden, QDir::Name)) {
        if (name.endsWith(kListSuffix))
            lines << databasePath + u'/' + name;
    }
    // The source root is what is left of the output folder without the
    // database's path, so each list lands under that path on the drive.
    if (lines.isEmpty() || !outputFolder.endsWith(databasePath))
        return;
    const UploadJob job{outputFolder + u'/' + kSourceFileName, destinationPath,
                        outputFolder.chopped(databasePath.size())};
    if (!writePrivateText(job.sourceFile, lines.join(u'\n')))
        return;
    std::lock_guard lock(mLock);
    if (mStopping)
        return;
    ++mUploadsInProgress;
    mUploads.emplace_back([this, job, account = mAccount] {
        backupXattributeList(job, account);
        --mUploadsInProgress;
    });
}

bool TXXattrBackupManager::backupXattributeList(const UploadJob &job, const Backup::Account &account)
{
    // The attempts follow one another without a rest.
    RetriedUpload upload(kUploadAttempts, std::chrono::milliseconds(0));
    if (!track(&upload, true))
        return false;
    const QString errorFile = job.relativePath + u'/' + kErrorFileName;
    const bool succeeded = upload.run(job.sourceFile, errorFile, [&](const QString &error) {
        auto uploader = std::make_unique<Backup>(account, error, job.relativePath + u'/', job.destinationPath, false);
        uploader->setUploadLogFlag(false);
        uploader->setThumbnailUploadFlag(false);
        uploader->setshouldUpdateIMD(false);
        uploader->setTimeMachineBackup(true);
        return uploader;
    });
    track(&upload, false);
    return succeeded;
}

bool TXXattrBackupManager::track(RetriedUpload *upload, bool running)
{
    std::lock_guard lock(mLock);
    if (!running) {
        mRunning.erase(upload);
        return true;
    }
    if (mStopping)
        return false;
    mRunning.insert(upload);
    return true;
}

void TXXattrBackupManager::resetXattributesForTimeMachine(const QString &restoredDatabase,
                                                          const QString &storedDatabase)
{
    for (const QString &entry : entriesOf(restoredDatabase)) {
        if (entry.endsWith(kListSuffix))
            continue;
        const QString restoredList = listFilePath(restoredDatabase, entry);
        QVariantMap list = PropertyList::readDictionary(restoredList);
        QFile::remove(restoredList);
        if (list.isEmpty() && !storedDatabase.isEmpty())
            list = PropertyList::readDictionary(listFilePath(storedDatabase, entry));
        if (list.isEmpty())
            continue;
        const QString entryPath = restoredDatabase + u'/' + entry;
        const QString ownKey = list.contains(QLatin1String(kEntryRowKey)) ? QLatin1String(kEntryRowKey) : entry;
        applyRow(list.value(ownKey), entryPath);
        for (const QString &child : childrenOf(entryPath)) {
            if (list.contains(child))
                applyRow(list.value(child), entryPath + u'/' + child);
        }
    }
}

void TXXattrBackupManager::waitForUploads()
{
    std::list<std::thread> uploads;
    {
        std::lock_guard lock(mLock);
        uploads.swap(mUploads);
    }
    for (std::thread &upload : uploads)
        upload.join();
}
