#include "index/manager/IndexJournalWriter.h"

#include "common/logging/QLBackupProgressLogger.h"
#include "index/TXDatabaseWrapper.h"
#include "index/journals/JournalBatch.h"
#include "index/manager/IndexPathRule.h"

#include <QDateTime>
#include <QFile>

#include <thread>

#include <sys/stat.h>

namespace {

const QString kNotApplicable = QStringLiteral("NA");
const QString kListFileSuffix = QStringLiteral(".txxlist");

// The date text journals keep: 2014-05-06 10:11:12 +0000, in UTC.
QString journalDate(const QDateTime &date)
{
    return date.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) + QStringLiteral(" +0000");
}

void trace(const QString &message) { QLBackupProgressLogger::progressLogger().logInteractiveTrace(message, false); }

}  // namespace

IndexJournalWriter::IndexJournalWriter(IndexContext context, const IndexManagerTimings &timings)
    : mContext(std::move(context))
    , mTimings(timings)
{}

StoredFileRecord StoredFileRecord::of(const BackedUpFile &file)
{
    return {file.versionNumber, file.folderID, file.mpcName, file.encFilename, file.size, file.modificationTime};
}

QVariantList IndexJournalWriter::journalValues(const QString &indexPath, qint64 size, qint64 modificationTime,
                                               const StoredFileRecord &record)
{
    QVariantList values = {indexPath,      journalDate(QDateTime::fromSecsSinceEpoch(modificationTime)),
                           size,           kNotApplicable,
                           kNotApplicable, false,
                           kNotApplicable, kNotApplicable};
    for (const QString *value : {&record.versionNumber, &record.folderId, &record.mpcName, &record.encFilename}) {
        if (value->isNull())
            return {};
        values.append(*value);
    }
    return values;
}

QString IndexJournalWriter::indexPathOf(const QString &localPath, const BackedUpFiles &files) const
{
    QString path = localPath;
    if (!mContext.backupMode && !files.relativePaths.isEmpty())
        path = files.relativePaths.value(localPath, localPath);
    // Lists the session keeps on the drive are indexed by their place below the data root.
    if (path.endsWith(kListFileSuffix) && !mContext.backupPath.isEmpty())
        path.remove(mContext.backupPath);
    return IndexPathRule::indexPath(path, true, mContext.computerFolder, mContext.backupMode);
}

void IndexJournalWriter::writeBackedUpFiles(BackedUpFiles files)
{
    std::unique_ptr<TXDatabaseWrapper> journal = openJournal();
    std::vector<JournalBatch::Row> rows;
    const auto writeRows = [&journal, &rows] {
        if (journal)
            JournalBatch::write(*journal, std::exchange(rows, {}), [](const QString &) {});
        rows.clear();
    };
    int visited = 0;
    // Each record goes as it is visited, and the rows go into the journal a
    // few at a time: what waits behind the writer's pauses is not held twice.
    for (auto entry = files.records.begin(); entry != files.records.end(); entry = files.records.erase(entry)) {
        const QString &localPath = entry.key();
        const StoredFileRecord &record = entry.value();
        qint64 size = record.size;
        qint64 modificationTime = record.modificationTime;
        struct stat item
        {};
        // A link is stored as a link, never followed: its own size and time.
        if (modificationTime < 0 && ::lstat(QFile::encodeName(localPath).constData(), &item) == 0 &&
            (S_ISREG(item.st_mode) || S_ISLNK(item.st_mode))) {
            size = item.st_size;
            modificationTime = item.st_mtime;
        }
        if (journal && modificationTime >= 0) {
            QVariantList values = journalValues(indexPathOf(localPath, files), size, modificationTime, record);
            if (!values.isEmpty())
                rows.push_back(std::move(values));
        }
        files.relativePaths.remove(localPath);
        if (rows.size() >= kRowsPerWrite)
            writeRows();
        pace(++visited);
    }
    files = {};
    writeRows();
    close(std::move(journal));
}

void IndexJournalWriter::writeDeletions(QStringList indexPaths)
{
    std::unique_ptr<TXDatabaseWrapper> journal = openJournal();
    std::vector<JournalBatch::Row> rows;
    int visited = 0;
    for (const QString &path : indexPaths) {
        if (journal)
            rows.push_back({path});
        pace(++visited);
    }
    indexPaths = {};
    if (journal) {
        JournalBatch::write(*journal, std::move(rows), [](const QString &error) {
            trace(QStringLiteral("deleteFilesFromLDB Error : %1").arg(error));
        });
    }
    close(std::move(journal));
}

std::unique_ptr<TXDatabaseWrapper> IndexJournalWriter::openJournal()
{
    if (!mContext.isUsable())
        return nullptr;
    auto journal = std::make_unique<TXDatabaseWrapper>(mTimings.index);
    QString error;
    if (journal->initializeDatabaseAtPath(mContext.indexFolder, QString(), 0, &error))
        return journal;
    trace(QStringLiteral("index journal cannot be opened in %1: %2").arg(mContext.indexFolder, error));
    return nullptr;
}

void IndexJournalWriter::close(std::unique_ptr<TXDatabaseWrapper> journal)
{
    if (!journal)
        return;
    journal->commitTransaction();
    journal->unInitializeDatabase();
}

void IndexJournalWriter::pace(int visited) const
{
    if (visited % IndexManagerTimings::kRowsPerPause == 0)
        std::this_thread::sleep_for(mTimings.writerPause);
}
