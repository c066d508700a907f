#include "index/IndexMerge.h"

#include "index/sqlite/FMDatabase.h"
#include "index/sqlite/FMResultSet.h"
#include "index/IndexNames.h"
#include "index/IndexRows.h"
#include "index/IndexSchema.h"

#include <optional>

namespace {

// Columns of the journal table by position.
constexpr int kPathColumn = 0;
constexpr int kDateColumn = 1;
constexpr int kSizeColumn = 2;
constexpr int kVersionColumn = 9;
constexpr int kFolderIDColumn = 10;
constexpr int kMPCColumn = 11;
constexpr int kEncNameColumn = 12;

const QString kSelectInserts = QStringLiteral("SELECT * FROM %1 WHERE %2 = ? order by FILEPATH").arg(kTempTable, kColumnOperationType);
const QString kSelectDeletes = QStringLiteral("SELECT * FROM %1 WHERE %2 = ?").arg(kTempTable, kColumnOperationType);

const QString kDeleteFile = QStringLiteral(
    "DELETE FROM qlfile WHERE NAME = ? AND DIRID=(select DIRID from qlfolder where NAME = ?)");
const QString kDeleteSubtreeFiles = QStringLiteral(
    "DELETE FROM qlfile WHERE DIRID IN (select qlfolder.dirid from qlfolder where qlfolder.NAME >= ? AND qlfolder.NAME < ?)");
// The root row stays even when everything below it goes.
const QString kDeleteSubtreeFolders = QStringLiteral("DELETE FROM qlfolder WHERE NAME >= ? AND NAME < ? AND NAME <> ?");

const QString kNoFolderRowText = QStringLiteral("the index holds no row for the folder %1");

}  // namespace

IndexMerge::IndexMerge(FMDatabase &journal, FMDatabase &mainIndex, IndexSleeper sleeper,
                       const IndexTimings &timings)
    : mJournal(journal), mMain(mainIndex), mSleeper(std::move(sleeper)), mTimings(timings)
{
}

bool IndexMerge::run(QString *error)
{
    const bool merged = insertPass() && deletePass();
    if (!merged && error)
        *error = mError;
    return merged;
}

bool IndexMerge::failReadingJournal()
{
    mJournalFailed = true;
    mError = mJournal.lastErrorMessage();
    return false;
}

bool IndexMerge::fail()
{
    if (mError.isEmpty())
        mError = mMain.lastErrorMessage();
    return false;
}

void IndexMerge::countStatement()
{
    if (++mStatementsSincePause < mTimings.mergeStatementsPerPause)
        return;
    mSleeper(mTimings.mergePause);
    mStatementsSincePause = 0;
}

bool IndexMerge::insertPass()
{
    auto rows = mJournal.executeQuery(kSelectInserts, {kOperationTypeInsert});
    if (!rows)
        return failReadingJournal();
    std::optional<QString> previousFolder;
    std::optional<qint64> folderKey;
    while (rows->next()) {
        const QString path = rows->stringForColumnIndex(kPathColumn);
        const QString folder = IndexNames::parentPath(path);
        if (folder != previousFolder) {
            if (!IndexRows::insertMissingFolders(mMain, folder, false, [this] { countStatement(); }))
                return fail();
            folderKey = IndexRows::folderKey(mMain, folder);
            // Without its folder's row a file would be dropped; the journal is kept instead.
            if (!folderKey && !mMain.hadError())
                mError = kNoFolderRowText.arg(folder);
            if (!folderKey)
                return fail();
            previousFolder = folder;
        }
        const IndexRows::FileValues file{IndexNames::lastComponent(path),
                                         rows->stringForColumnIndex(kDateColumn),
                                         rows->longLongIntForColumnIndex(kSizeColumn),
                                         rows->longLongIntForColumnIndex(kVersionColumn),
                                         rows->stringForColumnIndex(kFolderIDColumn),
                                         rows->stringForColumnIndex(kMPCColumn),
                                         rows->stringForColumnIndex(kEncNameColumn)};
        if (!IndexRows::insertFile(mMain, *folderKey, file)) {
            // Present already under that name, in any letter case: take the newer values.
            if (!IndexRows::failedOnConstraint(mMain) || !IndexRows::updateFile(mMain, *folderKey, file))
                return fail();
        }
        countStatement();
    }
    if (mJournal.hadError())
        return failReadingJournal();
    return true;
}

bool IndexMerge::deletePass()
{
    auto rows = mJournal.executeQuery(kSelectDeletes, {kOperationTypeDelete});
    if (!rows)
        return failReadingJournal();
    while (rows->next()) {
        const QString path = rows->stringForColumnIndex(kPathColumn);
        const bool deleted = path.endsWith(QLatin1Char('/')) ? deleteFolder(path) : deleteFile(path);
        if (!deleted)
            return fail();
        countStatement();
    }
    if (mJournal.hadError())
        return failReadingJournal();
    return true;
}

bool IndexMerge::deleteFolder(const QString &path)
{
    const QString prefix = IndexNames::subtreePrefix(path);
    const QString end = IndexNames::subtreeEnd(prefix);
    return mMain.executeUpdate(kDeleteSubtreeFiles, {prefix, end})
           && mMain.executeUpdate(kDeleteSubtreeFolders, {prefix, end, IndexNames::folderName(QStringLiteral("/"))});
}

bool IndexMerge::deleteFile(const QString &path)
{
    return mMain.executeUpdate(kDeleteFile, {IndexNames::quoted(IndexNames::lastComponent(path)),
                                             IndexNames::folderName(IndexNames::parentPath(path))});
}
