#include "index/IndexFileOwner.h"
#include "index/TXDatabaseWrapper.h"

#include "index/IndexMerge.h"
#include "index/IndexSchema.h"
#include "index/sqlite/FMDatabase.h"
#include "platform/ErrorSlot.h"

#include <QDebug>
#include <QDir>

namespace {

const QString kNoJournalText = QStringLiteral("no journal is open");

}  // namespace

MergeableJournal::Outcome TXDatabaseWrapper::updateMasterDatabase(const QString &folder, const QString &user,
                                                                  QString *error)
{
    if (!mDatabase) {
        ErrorSlot::fill(error, kNoJournalText);
        return Outcome::JournalFailed;
    }
    const QString mainIndexPath = QDir(folder).filePath(user + QStringLiteral(".qlenc"));
    if (!IndexFileOwner::isOwnOrAbsent(mainIndexPath)) {
        ErrorSlot::fill(error, IndexFileOwner::foreignFileText(mainIndexPath));
        return Outcome::MainIndexFailed;
    }
    FMDatabase mainIndex(mainIndexPath, mTimings.database);
    // A handful of statements run once or more per journal row.
    mainIndex.setShouldCacheStatements(true);
    // A fresh drive has no main index yet: the first merge makes it, so that no
    // row lands in a file without tables.
    if (!mainIndex.open()) {
        ErrorSlot::fill(error, mainIndex.lastErrorMessage());
        return Outcome::MainIndexFailed;
    }
    if (!IndexSchema::ensureMainIndex(mainIndex, error))
        return Outcome::MainIndexFailed;
    // An index written elsewhere may still keep a rollback journal, in which the
    // merge's transaction would shut readers out; it can only change outside a
    // transaction. Failing that, the merge goes on as before.
    if (!mainIndex.setWal())
        qWarning().noquote() << "the index keeps its rollback journal for this merge:" << mainIndex.databasePath()
                             << mainIndex.lastErrorMessage();
    // Only a speed setting: the merge works the same without it.
    mainIndex.executeUpdate(kMergeCacheSize);
    mDatabase->executeUpdate(kBulkWriteCacheSize);
    if (!mainIndex.beginTransaction()) {
        ErrorSlot::fill(error, mainIndex.lastErrorMessage());
        return Outcome::MainIndexFailed;
    }
    IndexMerge merge(*mDatabase, mainIndex, mSleeper, mTimings);
    if (!merge.run(error)) {
        mainIndex.rollback();
        return merge.journalFailed() ? Outcome::JournalFailed : Outcome::MainIndexFailed;
    }
    if (!mainIndex.commit()) {
        ErrorSlot::fill(error, mainIndex.lastErrorMessage());
        mainIndex.rollback();
        return Outcome::MainIndexFailed;
    }
    return Outcome::Committed;
}
