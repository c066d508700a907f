#include "index/rebuild/ReindexBuilder.h"

#include "index/IndexSchema.h"
#include "index/sqlite/FMDatabase.h"
#include "platform/ErrorSlot.h"

#include <QDir>
#include <QFile>

namespace {

const QString kReindexSuffix = QStringLiteral("_reindex");
const QString kIndexExtension = QStringLiteral(".qlenc");

// The database file and the files the library keeps beside it.
void removeDatabaseFiles(const QString &path)
{
    for (const char *suffix : {"", "-wal", "-shm", "-journal"})
        QFile::remove(path + QLatin1String(suffix));
}

}  // namespace

ReindexBuilder::ReindexBuilder(QString indexFolder, QString userName, IndexTimings timings)
    : mIndexFolder(std::move(indexFolder))
    , mUserName(std::move(userName))
    , mTimings(timings)
    , mReindex(timings)
{}

ReindexBuilder::~ReindexBuilder()
{
    if (mOpen)
        abandon();
}

QString ReindexBuilder::databasePath(const QString &name) const
{
    return QDir(mIndexFolder).filePath(name + kIndexExtension);
}

bool ReindexBuilder::start(QString *error)
{
    // A rebuild killed after its transaction ended would otherwise lend its rows to this one.
    removeDatabaseFiles(databasePath(mUserName + kReindexSuffix));
    if (!mReindex.initializeDatabaseAtPath(mIndexFolder, mUserName + kReindexSuffix, 1, error))
        return false;
    if (!mReindex.initializeReIndex()) {
        ErrorSlot::fill(error, QStringLiteral("the re-index database cannot be written in %1").arg(mIndexFolder));
        mReindex.concludeReIndex();
        return false;
    }
    mOpen = true;
    return true;
}

void ReindexBuilder::addFile(const QString &folderKey, const IndexRows::FileValues &file)
{
    if (!mOpen)
        return;
    if (folderKey != mHeldFolder)
        writeHeldFolder();
    mHeldFolder = folderKey;
    mHeldFiles.append(file);
    mLargestHeldFolder = std::max(mLargestHeldFolder, mHeldFiles.size());
}

void ReindexBuilder::writeHeldFolder()
{
    if (mHeldFiles.isEmpty())
        return;
    mReindex.addFolderToDatabase({{QStringLiteral("FilePath"), mHeldFolder},
                                  {QStringLiteral("FileModificationTime"), kMadeFolderDate},
                                  {QStringLiteral("FileSize"), kMadeFolderSize}});
    mReindex.addFilesToDatabase(mHeldFiles, mHeldFolder);
    mHeldFiles.clear();
}

bool ReindexBuilder::finish(QString *error)
{
    if (!mOpen) {
        ErrorSlot::fill(error, QStringLiteral("no re-index database is open"));
        return false;
    }
    writeHeldFolder();
    mOpen = false;
    if (!mReindex.concludeReIndex()) {
        ErrorSlot::fill(error, QStringLiteral("the re-index database could not be committed"));
        removeDatabaseFiles(databasePath(mUserName + kReindexSuffix));
        return false;
    }
    const bool replaced = replaceMainIndex(error);
    removeDatabaseFiles(databasePath(mUserName + kReindexSuffix));
    return replaced;
}

bool ReindexBuilder::replaceMainIndex(QString *error)
{
    FMDatabase rebuilt(databasePath(mUserName + kReindexSuffix), mTimings.database);
    FMDatabase mainIndex(databasePath(mUserName), mTimings.database);
    if (!rebuilt.open() || !mainIndex.open()) {
        ErrorSlot::fill(error,
                        QStringLiteral("the index cannot be opened: %1")
                            .arg(mainIndex.hadError() ? mainIndex.lastErrorMessage() : rebuilt.lastErrorMessage()));
        return false;
    }
    // As every main index: readers never wait for a writer. A new one is made
    // so before it is filled; for one open elsewhere this changes nothing.
    mainIndex.setWal();
    // The swap is one commit, whole or absent after any crash; the checkpoint
    // that closing the connection runs makes it durable without a second flush.
    mainIndex.executeUpdate(QStringLiteral("PRAGMA synchronous = NORMAL"));
    if (mainIndex.replaceContentsWith(rebuilt))
        return true;
    ErrorSlot::fill(error, QStringLiteral("the main index could not be replaced: %1")
                               .arg(mainIndex.hadError() ? mainIndex.lastErrorMessage() : rebuilt.lastErrorMessage()));
    return false;
}

void ReindexBuilder::abandon()
{
    mHeldFiles.clear();
    if (mOpen) {
        // Closing without a commit rolls the whole rebuild back.
        mReindex.closeDatabase();
        mOpen = false;
    }
    removeDatabaseFiles(databasePath(mUserName + kReindexSuffix));
}
