#pragma once

#include "index/IndexTimings.h"

#include <QString>
#include <QStringList>

#include <optional>

class FMDatabase;

// Folds one finished journal into a main index, inside the transaction the
// caller holds on the main index: first the INSERT rows in path order (with
// the folders they need), then the DELETE rows (files one by one, folders in
// batches). Rows of other operations change nothing. Every folder looked up
// or inserted, every file row and every batch of folders counts towards a
// pause, so that readers get a turn during long merges.
class IndexMerge
{
public:
    IndexMerge(FMDatabase &journal, FMDatabase &mainIndex, IndexSleeper sleeper, const IndexTimings &timings);

    // False, with the reason, when the journal could not be read or a statement
    // failed for another reason than a row that is present already; the caller
    // then rolls back and keeps the journal.
    bool run(QString *error);
    // After a failed run: whether reading the journal failed, not the main index.
    bool journalFailed() const { return mJournalFailed; }

private:
    // Rows of the journal and files of the main index.
    struct Sizes
    {
        qint64 journalRows = 0;
        qint64 indexedFiles = 0;
    };
    Sizes readSizes();
    // The stored statement of the file name index; none when the index has none.
    std::optional<QString> nameIndexDefinition();
    bool insertPass();
    bool deletePass();
    // Deletes the folders, every file and folder below them, but never the root row.
    bool deleteFolders(const QStringList &paths);
    bool deleteFile(const QString &path);
    void countStatement();
    // Each keeps the reason and answers false.
    bool fail();
    bool failReadingJournal();

    FMDatabase &mJournal;
    FMDatabase &mMain;
    IndexSleeper mSleeper;
    const IndexTimings &mTimings;
    int mStatementsSincePause = 0;
    QString mError;
    bool mJournalFailed = false;
};
