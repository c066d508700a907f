#pragma once

#include "common/transfer/BackedUpFile.h"
#include "index/manager/IndexContext.h"
#include "index/manager/IndexManagerTimings.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <memory>

struct stat;
class TXDatabaseWrapper;

// What the index keeps of the last record a backup reported for a file: the
// values that name the file on the drive. A value the record lacked is null.
struct StoredFileRecord
{
    static StoredFileRecord of(const BackedUpFile &file);

    QString versionNumber;
    QString folderId;
    QString mpcName;
    QString encFilename;
    qint64 size = -1;  // taken when stored; -1: read from the local file
    qint64 modificationTime = -1;
};

// What one tick hands the backup writer: per local path, what the record the
// backup reported last says of it and, in sync mode, its path below the sync root.
struct BackedUpFiles
{
    // Thousands of files may wait for a tick: only what the journal needs is kept of each.
    QHash<QString, StoredFileRecord> records;
    QHash<QString, QString> relativePaths;
};

// Writes one journal of a tick's rows and finishes it, so that a merge can
// take it; the rows are let go once the journal is committed. Runs on a
// writer thread.
class IndexJournalWriter
{
public:
    IndexJournalWriter(IndexContext context, const IndexManagerTimings &timings);

    // INSERT rows of the backed-up files whose records name them on the drive
    // (folder identifier, computer folder, encoded name), with the size and
    // time taken when they were stored; a record without them is a file still
    // on this machine.
    void writeBackedUpFiles(BackedUpFiles files);
    // DELETE rows of the index paths.
    void writeDeletions(QStringList indexPaths);

private:
    // Rows written into the journal at once (sorted among themselves).
    static constexpr size_t kRowsPerWrite = 2000;

    // The twelve journal values of a stored item, or none when the record lacks one.
    static QVariantList journalValues(const QString &indexPath, qint64 size, qint64 modificationTime,
                                      const StoredFileRecord &record);

    std::unique_ptr<TXDatabaseWrapper> openJournal();
    static void close(std::unique_ptr<TXDatabaseWrapper> journal);
    // After every kRowsPerPause paths visited.
    void pace(int visited) const;
    QString indexPathOf(const QString &localPath, const BackedUpFiles &files) const;

    IndexContext mContext;
    IndexManagerTimings mTimings;
};
