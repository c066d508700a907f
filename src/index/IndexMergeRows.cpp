#include "index/IndexMergeRows.h"

#include "index/IndexNames.h"
#include "index/IndexRows.h"
#include "index/IndexSchema.h"
#include "index/sqlite/FMDatabase.h"
#include "index/sqlite/FMResultSet.h"
#include "index/sqlite/FMStatement.h"

#include <algorithm>

namespace {

// Extensions remembered at most; the rest are told apart each time.
constexpr size_t kRememberedExtensions = 64;

// The UTF-8 of the texts every row of a statement binds alike, made once.
struct FixedTexts
{
    QByteArray notApplicable = IndexRows::kNotApplicable.toUtf8();
    QByteArray backupStatusDone = IndexRows::kBackupStatusDone.toUtf8();
    QByteArray backupSetName = IndexRows::kBackupSetName.toUtf8();
    QByteArray hashValue = IndexRows::kHashValue.toUtf8();
    QByteArray madeFolderDate = kMadeFolderDate.toUtf8();
    QByteArray madeFolderSize = kMadeFolderSize.toUtf8();
};

const FixedTexts &fixedTexts()
{
    static const FixedTexts texts;
    return texts;
}

// Binds the journal row's text column to the placeholder; the row's bytes
// stay until the statement has run, as the journal is stepped only after it.
int bindJournalText(FMStatement &statement, int placeholder, const FMResultSet &row, int column)
{
    return statement.bindTextUntilRun(placeholder, row.utf8ForColumnIndex(column));
}

}  // namespace

IndexMergeRows::IndexMergeRows(FMDatabase &mainIndex)
    : mMain(mainIndex)
{}
IndexMergeRows::~IndexMergeRows() = default;

bool IndexMergeRows::prepare()
{
    mInsertFolder = mMain.statementForRepeatedUse(IndexRows::kInsertFolder);
    mFolderKey = mMain.statementForRepeatedUse(IndexRows::kFolderKey);
    mInsertFile = mMain.statementForRepeatedUse(IndexRows::kInsertFile);
    mUpdateFileKeepingVersion = mMain.statementForRepeatedUse(IndexRows::kUpdateFileKeepingVersion);
    mUpdateFile = mMain.statementForRepeatedUse(IndexRows::kUpdateFile);
    if (!mInsertFolder || !mFolderKey || !mInsertFile || !mUpdateFileKeepingVersion || !mUpdateFile)
        return false;
    // Bindings stay through every run: the values all rows share are bound once.
    const FixedTexts &texts = fixedTexts();
    mInsertFolder->bindTextUntilRun(2, texts.madeFolderDate);
    mInsertFolder->bindTextUntilRun(3, texts.madeFolderSize);
    mInsertFolder->bindInt64(4, 0);
    for (int placeholder : {6, 7})
        mInsertFile->bindTextUntilRun(placeholder, texts.notApplicable);
    mInsertFile->bindTextUntilRun(8, texts.backupStatusDone);
    mInsertFile->bindTextUntilRun(9, texts.backupSetName);
    mInsertFile->bindTextUntilRun(10, texts.hashValue);
    // The updates set the same four after the values they take from the row:
    // one placeholder later where the version is set too.
    for (const auto &[update, offset] :
         {std::pair{mUpdateFileKeepingVersion.get(), 0}, std::pair{mUpdateFile.get(), 1}}) {
        update->bindTextUntilRun(3 + offset, texts.notApplicable);
        update->bindTextUntilRun(4 + offset, texts.notApplicable);
        update->bindTextUntilRun(5 + offset, texts.backupStatusDone);
        update->bindTextUntilRun(6 + offset, texts.backupSetName);
    }
    return true;
}

std::optional<qint64> IndexMergeRows::enterFolder(const QString &folderPath, const std::function<void()> &onAttempt)
{
    // Most folders of a merge into a full index are there already: a lookup
    // finds them for less than an insert the UNIQUE constraint refuses.
    const std::optional<qint64> presentKey = folderKey(folderPath);
    onAttempt();
    if (presentKey)
        return presentKey;
    std::optional<qint64> addedKey;
    const bool climbed = IndexRows::climbMissingFolders(folderPath, [&](const QString &folder) {
        mFolderName = IndexNames::folderName(folder).toUtf8();
        mInsertFolder->bindTextUntilRun(1, mFolderName);
        const bool added = mMain.executeUpdate(*mInsertFolder);
        onAttempt();
        if (added) {
            // The first row added is the folder's own.
            if (!addedKey)
                addedKey = mMain.lastInsertRowId();
            return IndexRows::FolderInsert::Added;
        }
        return IndexRows::failedOnConstraint(mMain) ? IndexRows::FolderInsert::Present
                                                    : IndexRows::FolderInsert::Failed;
    });
    if (!climbed)
        return std::nullopt;
    return addedKey ? addedKey : folderKey(folderPath);
}

std::optional<qint64> IndexMergeRows::folderKey(const QString &folderPath)
{
    mFolderName = IndexNames::folderName(folderPath).toUtf8();
    mFolderKey->bindTextUntilRun(1, mFolderName);
    const auto rows = mMain.executeQuery(mFolderKey);
    if (!rows || !rows->next())
        return std::nullopt;
    return rows->longLongIntForColumnIndex(0);
}

bool IndexMergeRows::writeFile(qint64 folderKey, QByteArrayView name, const FMResultSet &journalRow)
{
    mQuotedName.assign(1, '\'');
    mQuotedName.append(name.data(), size_t(name.size()));
    mQuotedName.push_back('\'');
    const int thumb = thumbFlag(name);

    FMStatement &insert = *mInsertFile;
    insert.bindInt64(1, folderKey);
    insert.bindTextUntilRun(2, mQuotedName);
    bindJournalText(insert, 3, journalRow, JournalColumn::kDate);
    insert.bindInt64(4, journalRow.longLongIntForColumnIndex(JournalColumn::kSize));
    insert.bindInt64(5, journalRow.longLongIntForColumnIndex(JournalColumn::kVersion));
    insert.bindInt64(11, thumb);
    bindJournalText(insert, 12, journalRow, JournalColumn::kFolderID);
    bindJournalText(insert, 13, journalRow, JournalColumn::kMPC);
    bindJournalText(insert, 14, journalRow, JournalColumn::kEncName);
    if (mMain.executeUpdate(insert))
        return true;
    // Present already under that name, in any letter case: take the newer values.
    return IndexRows::failedOnConstraint(mMain) && runUpdate(folderKey, journalRow, thumb);
}

bool IndexMergeRows::runUpdate(qint64 folderKey, const FMResultSet &journalRow, int thumb)
{
    const qint64 version = journalRow.longLongIntForColumnIndex(JournalColumn::kVersion);
    // Version 1 keeps the row's version number; any other sets it.
    const bool keepVersion = version == 1;
    FMStatement &update = keepVersion ? *mUpdateFileKeepingVersion : *mUpdateFile;
    const int offset = keepVersion ? 0 : 1;
    bindJournalText(update, 1, journalRow, JournalColumn::kDate);
    update.bindInt64(2, journalRow.longLongIntForColumnIndex(JournalColumn::kSize));
    if (!keepVersion)
        update.bindInt64(3, version);
    update.bindInt64(7 + offset, thumb);
    bindJournalText(update, 8 + offset, journalRow, JournalColumn::kFolderID);
    bindJournalText(update, 9 + offset, journalRow, JournalColumn::kMPC);
    bindJournalText(update, 10 + offset, journalRow, JournalColumn::kEncName);
    update.bindTextUntilRun(11 + offset, mQuotedName);
    update.bindInt64(12 + offset, folderKey);
    return mMain.executeUpdate(update);
}

int IndexMergeRows::thumbFlag(QByteArrayView name)
{
    // The flag depends on the text after the last "." alone; a name without one has none.
    const qsizetype dot = name.lastIndexOf('.');
    if (dot < 0)
        return 0;
    const QByteArrayView extension = name.sliced(dot + 1);
    const auto known = std::find_if(mThumbByExtension.cbegin(), mThumbByExtension.cend(),
                                    [extension](const auto &entry) { return entry.first == extension; });
    if (known != mThumbByExtension.cend())
        return known->second;
    const int flag = IndexNames::thumbFlag(QString::fromUtf8(name.data(), name.size()));
    if (mThumbByExtension.size() < kRememberedExtensions)
        mThumbByExtension.emplace_back(extension.toByteArray(), flag);
    return flag;
}
