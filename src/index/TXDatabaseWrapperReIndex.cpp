#include "index/TXDatabaseWrapper.h"

#include "index/IndexNames.h"
#include "index/IndexRows.h"
#include "index/IndexSchema.h"
#include "index/sqlite/FMDatabase.h"

namespace {

constexpr qint64 kRootFolderKey = 1;

// A re-index record names the fields it shares with an entry as the entry does.
const QString kFilePathKey = QStringLiteral("FilePath");
const QString kFileModificationTimeKey = QStringLiteral("FileModificationTime");
const QString kVersionNumberKey = QStringLiteral("VersionNumber");
const QStringList kFileRecordKeys = {kFilePathKey,
                                     kFileModificationTimeKey,
                                     IndexEntry::kFileSizeKey,
                                     kVersionNumberKey,
                                     IndexEntry::kFolderIDKey,
                                     IndexEntry::kMpcNameKey,
                                     IndexEntry::kEncFilenameKey};

bool hasEveryValue(const QVariantMap &record)
{
    for (const QString &key : kFileRecordKeys) {
        if (record.value(key).isNull())
            return false;
    }
    return true;
}

}  // namespace

bool TXDatabaseWrapper::initializeReIndex()
{
    if (!mDatabase)
        return false;
    // The same few inserts and lookups run for every folder and file of the rebuild.
    mDatabase->setShouldCacheStatements(true);
    bool created = false;
    if (!mDatabase->open())
        return false;
    // Speed only: the pages of the rebuild stay in memory rather than being
    // written out and read back within the transaction.
    mDatabase->executeUpdate(kBulkWriteCacheSize);
    // What matters is on the drive once the rebuilt index replaces the main
    // one, which is written as durably as ever; an interrupted rebuild's file
    // is discarded.
    mDatabase->executeUpdate(QStringLiteral("PRAGMA synchronous = OFF"));
    return mDatabase->beginTransaction() && IndexSchema::createMainIndexIfMissing(*mDatabase, &created);
}

void TXDatabaseWrapper::addFolderToDatabase(const QVariantMap &folder)
{
    const QString path = folder.value(kFilePathKey).toString();
    if (!mDatabase || IndexNames::isRoot(path))
        return;
    // Whether or not the folder was new, its ancestors are made up to the first present one.
    IndexRows::insertFolder(*mDatabase, path, folder.value(kFileModificationTimeKey),
                            folder.value(IndexEntry::kFileSizeKey), IndexNames::depth(path));
    IndexRows::insertMissingFolders(*mDatabase, IndexNames::parentPath(path), true, [] {});
}

void TXDatabaseWrapper::addFilesToDatabase(const QVariantList &files, const QString &parent)
{
    QList<IndexRows::FileValues> typed;
    for (const QVariant &entry : files) {
        const QVariantMap record = entry.toMap();
        if (hasEveryValue(record)) {
            typed.append({record.value(kFilePathKey).toString(), record.value(kFileModificationTimeKey),
                          record.value(IndexEntry::kFileSizeKey), record.value(kVersionNumberKey),
                          record.value(IndexEntry::kFolderIDKey), record.value(IndexEntry::kMpcNameKey),
                          record.value(IndexEntry::kEncFilenameKey)});
        }
    }
    addFilesToDatabase(typed, parent);
}

void TXDatabaseWrapper::addFilesToDatabase(const QList<IndexRows::FileValues> &files, const QString &parent)
{
    if (!mDatabase)
        return;
    std::optional<qint64> key = IndexRows::folderKey(*mDatabase, parent);
    if (!key && IndexNames::isRoot(parent))
        key = kRootFolderKey;
    if (!key)
        return;
    // A name present already in the folder keeps its first row.
    for (const IndexRows::FileValues &file : files)
        IndexRows::insertFile(*mDatabase, *key, file);
}

bool TXDatabaseWrapper::concludeReIndex()
{
    if (!mDatabase)
        return false;
    const bool committed = mDatabase->commit();
    mDatabase->close();
    return committed;
}
