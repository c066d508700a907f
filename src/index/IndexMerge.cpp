#include "index/IndexMerge.h"

#include "index/IndexMergeRows.h"
#include "index/IndexNames.h"
#include "index/IndexSchema.h"
#include "index/sqlite/FMDatabase.h"
#include "index/sqlite/FMResultSet.h"

#include <optional>
#include <utility>

namespace {

const QString kSelectInserts =
    QStringLiteral("SELECT * FROM %1 WHERE %2 = ? order by FILEPATH").arg(kTempTable, kColumnOperationType);
const QString kSelectDeletes = QStringLiteral("SELECT * FROM %1 WHERE %2 = ?").arg(kTempTable, kColumnOperationType);

const QString kDeleteFile =
    QStringLiteral("DELETE FROM qlfile WHERE NAME = ? AND DIRID=(select DIRID from qlfolder where NAME = ?)");
// Deleted folders go in batches: the keys of each batch's subtrees (one
// statement per subtree, joined as %1), then their files and their rows.
constexpr qsizetype kFoldersPerDelete = 100;
const QString kSubtreeFolderKeys = QStringLiteral("SELECT DIRID FROM qlfolder WHERE NAME >= ? AND NAME < ?");
const QString kDeleteSubtreeFiles = QStringLiteral("DELETE FROM qlfile WHERE DIRID IN (%1)");
// The root row stays even when everything below it goes.
const QString kDeleteSubtreeFolders = QStringLiteral("DELETE FROM qlfolder WHERE DIRID IN (%1) AND NAME <> ?");

// The index of file names serves the searches, not the merge: a merge that
// adds more files than the index holds drops it and makes it again at the
// end from its own stored statement, one sort instead of a scattered insert
// per row. The schema is the same afterwards.
const QString kNameIndexDefinition =
    QStringLiteral("SELECT sql FROM sqlite_master WHERE type = 'index' AND name = 'qlfile_indx'");
const QString kDropNameIndex = QStringLiteral("DROP INDEX qlfile_indx");
// Upper bounds of the rows, read from the ends of the tables rather than counted.
const QString kIndexedFiles = QStringLiteral("SELECT max(FILEID) FROM qlfile");
const QString kJournalRows = QStringLiteral("SELECT max(rowid) FROM %1").arg(kTempTable);

const QString kNoFolderRowText = QStringLiteral("the index holds no row for the folder %1");

// The first column of the first row; none when the statement fails or has no rows.
std::optional<QVariant> firstValue(std::unique_ptr<FMResultSet> rows)
{
    return rows && rows->next() ? std::optional(rows->objectForColumnIndex(0)) : std::nullopt;
}

}  // namespace

IndexMerge::IndexMerge(FMDatabase &journal, FMDatabase &mainIndex, IndexSleeper sleeper, const IndexTimings &timings)
    : mJournal(journal)
    , mMain(mainIndex)
    , mSleeper(std::move(sleeper))
    , mTimings(timings)
{}

bool IndexMerge::run(QString *error)
{
    const Sizes sizes = readSizes();
    const std::optional<QString> deferredNameIndex =
        sizes.journalRows > sizes.indexedFiles ? nameIndexDefinition() : std::nullopt;
    const bool merged = (!deferredNameIndex || mMain.executeUpdate(kDropNameIndex)) && insertPass() && deletePass() &&
                        (!deferredNameIndex || mMain.executeUpdate(*deferredNameIndex));
    if (!merged && error)
        *error = mError;
    return merged;
}

IndexMerge::Sizes IndexMerge::readSizes()
{
    // Only speed measures go by them: a size that cannot be read counts as none.
    return {firstValue(mJournal.executeQuery(kJournalRows)).value_or(QVariant()).toLongLong(),
            firstValue(mMain.executeQuery(kIndexedFiles)).value_or(QVariant()).toLongLong()};
}

std::optional<QString> IndexMerge::nameIndexDefinition()
{
    const std::optional<QVariant> definition = firstValue(mMain.executeQuery(kNameIndexDefinition));
    if (!definition || !definition->isValid())
        return std::nullopt;
    return definition->toString();
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
    IndexMergeRows writer(mMain);
    if (!writer.prepare())
        return fail();
    auto rows = mJournal.executeQuery(kSelectInserts, {kOperationTypeInsert});
    if (!rows)
        return failReadingJournal();
    // Paths are read as the library holds them, UTF-8, and split there.
    QByteArray previousFolder;
    std::optional<qint64> folderKey;
    while (rows->next()) {
        const QByteArrayView path = rows->utf8ForColumnIndex(JournalColumn::kPath);
        const qsizetype lastSeparator = path.lastIndexOf('/');
        const QByteArrayView folder = lastSeparator <= 0 ? QByteArrayView("/") : path.first(lastSeparator);
        if (!folderKey || folder != previousFolder) {
            const QString folderPath = QString::fromUtf8(folder.data(), folder.size());
            folderKey = writer.enterFolder(folderPath, [this] { countStatement(); });
            // Without its folder's row a file would be dropped; the journal is kept instead.
            if (!folderKey && !mMain.hadError())
                mError = kNoFolderRowText.arg(folderPath);
            if (!folderKey)
                return fail();
            previousFolder = folder.toByteArray();
        }
        if (!writer.writeFile(*folderKey, path.sliced(lastSeparator + 1), *rows))
            return fail();
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
    // Deletions end the same in any order, so folders wait for a full batch.
    QStringList folders;
    while (rows->next()) {
        const QString path = rows->stringForColumnIndex(JournalColumn::kPath);
        if (!path.endsWith(QLatin1Char('/'))) {
            if (!deleteFile(path))
                return fail();
            countStatement();
            continue;
        }
        folders.append(path);
        if (folders.size() == kFoldersPerDelete && !deleteFolders(std::exchange(folders, {})))
            return fail();
    }
    if (mJournal.hadError())
        return failReadingJournal();
    return folders.isEmpty() || deleteFolders(folders) || fail();
}

bool IndexMerge::deleteFolders(const QStringList &paths)
{
    QVariantList ranges;
    QStringList subtrees;
    for (const QString &path : paths) {
        const QString prefix = IndexNames::subtreePrefix(path);
        ranges << prefix << IndexNames::subtreeEnd(prefix);
        subtrees << kSubtreeFolderKeys;
    }
    const QString keys = subtrees.join(QStringLiteral(" UNION ALL "));
    const bool deleted = mMain.executeUpdate(kDeleteSubtreeFiles.arg(keys), ranges) &&
                         mMain.executeUpdate(kDeleteSubtreeFolders.arg(keys),
                                             ranges + QVariantList{IndexNames::folderName(QStringLiteral("/"))});
    countStatement();
    return deleted;
}

bool IndexMerge::deleteFile(const QString &path)
{
    return mMain.executeUpdate(kDeleteFile, {IndexNames::quoted(IndexNames::lastComponent(path)),
                                             IndexNames::folderName(IndexNames::parentPath(path))});
}
