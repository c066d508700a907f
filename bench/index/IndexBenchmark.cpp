// Throughput of journal writing and merging, and of the index rebuild from
// the engine's listing, against raw SQLCipher bulk inserts of the same rows,
// and latency of the browser's queries on a generated index.
//
//   bin/index_bench                  100,000 files (as CI builds it)
//   bin/index_bench --files=1000000  the full-size index, on demand
//   bin/index_bench --scratch=PATH   index folders below PATH (a slow device:
//                                    bench/index/slow-device runs it on one)
//
// Every figure is measured in this run; the summary at the end prints rates as
// ratios of the raw insert measured here, and query times as p50 and p95.
// Rows are formatted before any timed loop, for the ceiling and the index
// alike, and the ceiling and the pipeline alternate within one benchmark, so a
// change in the machine's load falls on both; their spread is printed.

#include "engine/rebuild/ReindexListingReader.h"
#include "index/IndexNames.h"
#include "index/IndexSchema.h"
#include "index/IndexTimings.h"
#include "index/TXDatabaseWrapper.h"
#include "index/TXDatabaseWrapperDelegate.h"
#include "index/journals/DataBaseWrapper.h"
#include "index/journals/FinishedJournals.h"
#include "index/journals/JournalBatch.h"
#include "index/rebuild/ReindexBuilder.h"
#include "index/sqlite/FMDatabase.h"
#include "index/sqlite/FMResultSet.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

int gFiles = 100000;
// Paced runs sleep by design; a small sample gives their rate.
constexpr int kPacedRows = 1000;
// Repetitions of every throughput figure; its median and spread are printed.
constexpr int kThroughputRepeats = 5;
constexpr int kFilesPerFolder = 10;
constexpr int kTopFolders = 100;
constexpr int kQueryRepeats = 15;
const QString kUser = QStringLiteral("ann");

// Seconds per named measurement, every repetition.
std::map<std::string, std::vector<double>> gSeconds;
// Rows per measurement, for the rates.
std::map<std::string, int> gRows;

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// Keeps one more measurement of the name.
void note(const std::string &name, double seconds, int rows = 0)
{
    gSeconds[name].push_back(seconds);
    if (rows > 0)
        gRows[name] = rows;
}

// The same for the measurement the benchmark library reports.
void record(benchmark::State &state, const std::string &name, double seconds, int rows = 0)
{
    state.SetIterationTime(seconds);
    note(name, seconds, rows);
    if (rows > 0)
        state.counters["rows_per_s"] = rows / seconds;
}

double percentile(std::vector<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    const size_t index = std::min(values.size() - 1, size_t(fraction * double(values.size() - 1) + 0.5));
    return values.at(index);
}

double median(const std::string &name) { return percentile(gSeconds.at(name), 0.5); }

// The generated backup: ten files per folder, folders spread under a hundred
// top folders, so 1,000,000 files make 100,000 folders.
QString fileFolder(int file)
{
    const int folder = file / kFilesPerFolder;
    return QStringLiteral("/Office/Users/ann/p%1/q%2").arg(folder % kTopFolders).arg(folder / kTopFolders);
}

QString filePath(int file) { return fileFolder(file) + QStringLiteral("/file%1.txt").arg(file); }

QVariantList journalValues(const QString &path, int file)
{
    return {path,
            QStringLiteral("2014-05-06 10:11:12 +0000"),
            qint64(1000 + file),
            QStringLiteral("NA"),
            QStringLiteral("NA"),
            false,
            QStringLiteral("NA"),
            QStringLiteral("NA"),
            1,
            QString::number(file),
            QStringLiteral("/Office"),
            QStringLiteral("enc%1").arg(file)};
}

// Where the index folders go: the system's temporary folder, or --scratch=PATH
// (a slow device, for instance).
QString gScratchRoot;

QString scratchTemplate()
{
    return (gScratchRoot.isEmpty() ? QDir::tempPath() : gScratchRoot) + QStringLiteral("/index_bench-XXXXXX");
}

// A fresh index folder for one measurement.
struct Scratch
{
    QTemporaryDir dir{scratchTemplate()};
    QString folder() const { return dir.path() + QStringLiteral("/ldb"); }
};

// Makes the file cold: written out and dropped from the page cache, so that
// the next reads come from the device.
void dropFromPageCache(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd < 0)
        qFatal("cannot open %s", qPrintable(path));
    ::fdatasync(fd);
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    ::close(fd);
}

// The product's waits (before opening, between merge statements), or none.
IndexTimings indexTimings(bool paced)
{
    IndexTimings timings;
    if (!paced) {
        timings.openWait = std::chrono::milliseconds(0);
        timings.mergePause = std::chrono::milliseconds(0);
    }
    return timings;
}

// Journal rows, formatted before the timed loop: a record's twelve values, or
// a deletion's path alone.
using JournalRows = std::vector<JournalBatch::Row>;

// Writes one finished journal of the rows as the index manager's writers do;
// returns the seconds it took. The rows are the caller's copy, made before the clock starts.
double writeJournal(const QString &folder, JournalRows rows, bool paced = false)
{
    const auto start = Clock::now();
    // The index manager's writers sleep 2 ms after every second row.
    for (size_t row = 1; paced && row < rows.size(); row += 2)
        IndexSleep::sleepFor(std::chrono::milliseconds(2));
    TXDatabaseWrapper journal(indexTimings(paced));
    if (!journal.initializeDatabaseAtPath(folder, QString(), TXDatabaseWrapper::kJournalMode))
        qFatal("journal cannot be opened");
    JournalBatch::write(journal, std::move(rows),
                        [](const QString &error) { qFatal("journal row: %s", qPrintable(error)); });
    journal.commitTransaction();
    journal.unInitializeDatabase();
    return secondsSince(start);
}

// Merges the folder's finished journals. One that fails stops the benchmark;
// none at all does too, unless another merge may have taken them.
double mergeJournals(const QString &folder, bool paced = false, bool noneIsFine = false)
{
    const auto start = Clock::now();
    DataBaseWrapper merger([paced] { return std::make_unique<TXDatabaseWrapper>(indexTimings(paced)); });
    if (!merger.updateMasterDataBase(folder, kUser) && !noneIsFine)
        qFatal("merge failed");
    if (!FinishedJournals::namesOldestFirst(folder).isEmpty() && !noneIsFine)
        qFatal("a journal was left unmerged");
    return secondsSince(start);
}

// Row r of a journal holds file (r * a large prime) mod the file count: every
// file once, in no path order, as the index manager's queues hand them over.
int fileOfRow(int row) { return int(qint64(row) * 1000003 % gFiles); }

// The journal rows of the whole generated backup, formatted once.
const JournalRows &generatedRows()
{
    static const JournalRows rows = [] {
        JournalRows made(static_cast<size_t>(gFiles));
        for (int row = 0; row < gFiles; ++row) {
            const int file = fileOfRow(row);
            made[size_t(row)] = journalValues(filePath(file), file);
        }
        return made;
    }();
    return rows;
}

// The ceiling's rows: the same values as byte strings, ready to bind.
struct RawRow
{
    QByteArray path;
    qint64 size;
    QByteArray folderID;
    QByteArray encName;
};

const std::vector<RawRow> &rawRows()
{
    static const std::vector<RawRow> rows = [] {
        std::vector<RawRow> made;
        made.reserve(size_t(gFiles));
        for (const QVariantList &row : generatedRows())
            made.push_back({row.at(0).toString().toUtf8(), row.at(2).toLongLong(), row.at(9).toString().toUtf8(),
                            row.at(11).toString().toUtf8()});
        return made;
    }();
    return rows;
}

// The same rows in the order the journal writer gives them: by path, as UTF-8
// bytes with ASCII letters folded to one case.
const std::vector<RawRow> &sortedRawRows()
{
    static const std::vector<RawRow> rows = [] {
        std::vector<RawRow> made = rawRows();
        std::stable_sort(made.begin(), made.end(),
                         [](const RawRow &a, const RawRow &b) { return a.path.toLower() < b.path.toLower(); });
        return made;
    }();
    return rows;
}

// --- Throughput ---

// Two ceilings: the rows in no order with the library's default page cache,
// and the rows in the journal writer's order with the merge's page cache, as
// the product writes and merges them. Each rate is printed as a ratio of both.
enum class Ceiling
{
    Unsorted,
    AsTheProduct
};
const char *const kCeiling = "raw insert (ceiling)";
const char *const kProductCeiling = "raw insert, sorted, merge cache (ceiling)";

// A ceiling: the same journal rows through the library directly, one
// statement prepared once, one transaction. Returns the seconds it took.
double rawInsert(Ceiling ceiling)
{
    const std::vector<RawRow> &rows = ceiling == Ceiling::AsTheProduct ? sortedRawRows() : rawRows();
    Scratch scratch;
    QDir().mkpath(scratch.folder());
    const QByteArray path = (scratch.folder() + QStringLiteral("/raw.qlt")).toUtf8();
    const auto start = Clock::now();
    sqlite3 *db = nullptr;
    sqlite3_open(path.constData(), &db);
    sqlite3_key(db, FMDatabase::kDatabaseKey.constData(), int(FMDatabase::kDatabaseKey.size()));
    if (ceiling == Ceiling::AsTheProduct)
        sqlite3_exec(db, kMergeCacheSize.toUtf8().constData(), nullptr, nullptr, nullptr);
    sqlite3_exec(db,
                 "CREATE TABLE FILE_TABLE_TEMP(FILEPATH char(1024) primary key collate nocase,FILE_LMD char(256),"
                 "FILE_SIZE __int64, ENC_METHOD char(3), ENC_PSWD char(300), FILE_OR_FOLDER bool, OPERATION_TYPE "
                 "char(32),BKSET_LMD char(50), SYNC_DATE char(50),VERSION integer(3),FOLDER_ID char(1024),MPC "
                 "char(50),ENC_NAME char(1024))",
                 nullptr, nullptr, nullptr);
    sqlite3_exec(db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
    sqlite3_stmt *insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO FILE_TABLE_TEMP VALUES(?,?,?,?,?,?,?,?,?,?,?,?,?)", -1, &insert, nullptr);
    for (const RawRow &row : rows) {
        sqlite3_bind_text(insert, 1, row.path.constData(), int(row.path.size()), SQLITE_STATIC);
        sqlite3_bind_text(insert, 2, "2014-05-06 10:11:12 +0000", -1, SQLITE_STATIC);
        sqlite3_bind_int64(insert, 3, row.size);
        sqlite3_bind_text(insert, 4, "NA", -1, SQLITE_STATIC);
        sqlite3_bind_text(insert, 5, "NA", -1, SQLITE_STATIC);
        sqlite3_bind_int(insert, 6, 0);
        sqlite3_bind_text(insert, 7, "INSERT", -1, SQLITE_STATIC);
        sqlite3_bind_text(insert, 8, "NA", -1, SQLITE_STATIC);
        sqlite3_bind_text(insert, 9, "NA", -1, SQLITE_STATIC);
        sqlite3_bind_int(insert, 10, 1);
        sqlite3_bind_text(insert, 11, row.folderID.constData(), int(row.folderID.size()), SQLITE_STATIC);
        sqlite3_bind_text(insert, 12, "/Office", -1, SQLITE_STATIC);
        sqlite3_bind_text(insert, 13, row.encName.constData(), int(row.encName.size()), SQLITE_STATIC);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return secondsSince(start);
}

// Both ceilings, each kept under its name.
void noteCeilings()
{
    note(kCeiling, rawInsert(Ceiling::Unsorted), gFiles);
    note(kProductCeiling, rawInsert(Ceiling::AsTheProduct), gFiles);
}

// The ceilings and the unpaced pipeline (journal write, then its merge into an
// empty index) back to back in every repetition.
void BM_CeilingAndPipeline(benchmark::State &state)
{
    const JournalRows &rows = generatedRows();
    sortedRawRows();
    for (auto _ : state) {
        noteCeilings();
        Scratch scratch;
        const double writeSeconds = writeJournal(scratch.folder(), rows);
        const double mergeSeconds = mergeJournals(scratch.folder());
        record(state, "pipeline (write + merge), unpaced", writeSeconds + mergeSeconds, gFiles);
        note("journal write, unpaced", writeSeconds, gFiles);
        note("merge, unpaced", mergeSeconds, gFiles);
    }
}

// The pipeline as the index manager runs it: one journal per tick, each merged
// on a thread of its own once written while the next one is being written;
// the merge lock keeps the merges in turn. Alternated with the ceiling.
void BM_OverlappedPipeline(benchmark::State &state)
{
    constexpr size_t kTicks = 10;
    const JournalRows &rows = generatedRows();
    sortedRawRows();
    for (auto _ : state) {
        noteCeilings();
        std::vector<JournalRows> ticks;
        for (size_t tick = 0; tick < kTicks; ++tick)
            ticks.emplace_back(rows.begin() + std::ptrdiff_t(rows.size() * tick / kTicks),
                               rows.begin() + std::ptrdiff_t(rows.size() * (tick + 1) / kTicks));
        Scratch scratch;
        const auto start = Clock::now();
        std::vector<std::thread> mergers;
        for (JournalRows &tick : ticks) {
            writeJournal(scratch.folder(), std::move(tick));
            mergers.emplace_back([folder = scratch.folder()] { mergeJournals(folder, false, true); });
        }
        for (std::thread &merger : mergers)
            merger.join();
        if (!FinishedJournals::namesOldestFirst(scratch.folder()).isEmpty())
            qFatal("a journal was left unmerged");
        record(state, "pipeline, next journal written during a merge", secondsSince(start), gFiles);
    }
}

// The product's pacing: writers sleep between rows, the merge between statements.
void BM_Paced(benchmark::State &state)
{
    for (auto _ : state) {
        Scratch scratch;
        const double writeSeconds = writeJournal(
            scratch.folder(), JournalRows(generatedRows().begin(), generatedRows().begin() + kPacedRows), true);
        const double mergeSeconds = mergeJournals(scratch.folder(), true);
        record(state, "journal write, paced", writeSeconds, kPacedRows);
        note("merge, paced", mergeSeconds, kPacedRows);
    }
}

// --- Queries on a generated index ---

class CountingDelegate : public TXDatabaseWrapperDelegate
{
public:
    void queryFinishedWithEntries(const IndexEntries &entries) override { results = int(entries.size()); }
    void queryFinishedWithOutput(const QVariant &) override { results = 1; }
    void queryFailedWithError(const QString &error) override { qFatal("query failed: %s", qPrintable(error)); }
    int results = 0;
};

// The index of gFiles files, built once through journals and the merge.
const QString &generatedIndexFolder()
{
    static QTemporaryDir dir{scratchTemplate()};
    static const QString folder = [] {
        const QString path = dir.path() + QStringLiteral("/ldb");
        writeJournal(path, generatedRows());
        mergeJournals(path);
        return path;
    }();
    return folder;
}

// As a reader runs it: a new wrapper, its initialisation, then the query.
// Without the pre-open wait unless asked for.
void registerQuery(const std::string &name, const std::function<int(TXDatabaseWrapper &)> &query,
                   bool withOpenWait = false)
{
    benchmark::RegisterBenchmark(name.c_str(),
                                 [name, query, withOpenWait](benchmark::State &state) {
                                     const QString &folder = generatedIndexFolder();
                                     int results = 0;
                                     for (auto _ : state) {
                                         const auto start = Clock::now();
                                         TXDatabaseWrapper wrapper(indexTimings(withOpenWait));
                                         wrapper.initializeDatabaseAtPath(folder, kUser,
                                                                          TXDatabaseWrapper::kListingMode);
                                         results = query(wrapper);
                                         record(state, name, secondsSince(start));
                                     }
                                     state.counters["results"] = results;
                                 })
        ->Iterations(withOpenWait ? 3 : kQueryRepeats)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
}

// A reporting query: runs it and answers how many records it reported.
std::function<int(TXDatabaseWrapper &)> reporting(const std::function<void(TXDatabaseWrapper &)> &query)
{
    return [query](TXDatabaseWrapper &wrapper) {
        CountingDelegate delegate;
        wrapper.setDelegate(&delegate);
        query(wrapper);
        return delegate.results;
    };
}

void registerQueries()
{
    const int folders = gFiles / kFilesPerFolder;
    const QString deepFolder = fileFolder(gFiles / 2);
    const QString wideFolder = QStringLiteral("/Office/Users/ann/p7");
    const QString rareName = QStringLiteral("file%1.txt").arg(gFiles / 2);

    benchmark::RegisterBenchmark("connection open + key + first read",
                                 [](benchmark::State &state) {
                                     const QString path = generatedIndexFolder() + QStringLiteral("/ann.qlenc");
                                     for (auto _ : state) {
                                         const auto start = Clock::now();
                                         FMDatabase db(path);
                                         db.open();
                                         db.goodConnection();
                                         record(state, "connection open + key + first read", secondsSince(start));
                                     }
                                 })
        ->Iterations(kQueryRepeats)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);

    registerQuery("listing: root", reporting([](TXDatabaseWrapper &w) { w.fetchChildrenForPath(QString()); }));
    registerQuery("listing: root, with the 1 s pre-open wait",
                  reporting([](TXDatabaseWrapper &w) { w.fetchChildrenForPath(QString()); }), true);
    registerQuery("listing: folder of 10 files",
                  reporting([deepFolder](TXDatabaseWrapper &w) { w.fetchChildrenForPath(deepFolder.mid(1)); }));
    registerQuery(QStringLiteral("listing: folder of %1 folders").arg(folders / kTopFolders).toStdString(),
                  reporting([wideFolder](TXDatabaseWrapper &w) { w.fetchChildrenForPath(wideFolder.mid(1)); }));
    registerQuery("search: rare key", reporting([rareName](TXDatabaseWrapper &w) {
                      w.searchForKeyInsidePath({{"SearchKey", rareName}, {"PathRootForSearch", QString()}});
                  }));
    registerQuery(
        "search: common key \"file1\"", reporting([](TXDatabaseWrapper &w) {
            w.searchForKeyInsidePath({{"SearchKey", QStringLiteral("file1")}, {"PathRootForSearch", QString()}});
        }));
    registerQuery(
        "search: common key \"file1\", with the 1 s pre-open wait", reporting([](TXDatabaseWrapper &w) {
            w.searchForKeyInsidePath({{"SearchKey", QStringLiteral("file1")}, {"PathRootForSearch", QString()}});
        }),
        true);
    registerQuery("size: whole index", reporting([](TXDatabaseWrapper &w) { w.getProperties(QStringLiteral("/")); }));
    registerQuery("size: folder of 10 files",
                  reporting([deepFolder](TXDatabaseWrapper &w) { w.getProperties(deepFolder); }));
    registerQuery("files inside: folder of 10 files", [deepFolder](TXDatabaseWrapper &w) {
        return int(w.getAllFilesInside(deepFolder).value_or(QStringList()).size());
    });
    registerQuery("file exists", [](TXDatabaseWrapper &w) {
        return int(w.doesFileExistOnPortable(filePath(gFiles / 2)).value_or(false));
    });
}

// The steady state: a journal of a tenth of the index's size merged into a
// copy of the generated index: updates of present files, files in new deep
// folders and in present folders, and deletions of folders with their files.
// The copy and the journal are made before the clock starts.
void BM_MergeMixIntoGeneratedIndex(benchmark::State &state)
{
    const int rowCount = gFiles / 10;
    JournalRows rows(static_cast<size_t>(rowCount));
    for (int row = 0; row < rowCount; ++row) {
        switch (row % 10) {
        case 0:
        case 1:
        case 2:
        case 3:
            rows[size_t(row)] = journalValues(filePath(row * 7 % gFiles), row);
            break;
        case 4:
        case 5:
        case 6:
        case 7:
            rows[size_t(row)] = journalValues(
                QStringLiteral("/Office/Users/ann/new/n%1/m%2/f%3.txt").arg(row % 97).arg(row / 97).arg(row), row);
            break;
        case 8:
            rows[size_t(row)] = journalValues(fileFolder(row) + QStringLiteral("/added%1.txt").arg(row), row);
            break;
        default:
            rows[size_t(row)] = {fileFolder(row * 3 % gFiles) + QLatin1Char('/')};
        }
    }
    sortedRawRows();
    for (auto _ : state) {
        noteCeilings();
        // Warm: the index as the last merge left it in memory; cold: read from the device.
        for (const bool cold : {false, true}) {
            Scratch scratch;
            QDir().mkpath(scratch.folder());
            const QString index = scratch.folder() + QStringLiteral("/ann.qlenc");
            if (!QFile::copy(generatedIndexFolder() + QStringLiteral("/ann.qlenc"), index))
                qFatal("the index cannot be copied");
            writeJournal(scratch.folder(), rows);
            if (cold)
                dropFromPageCache(index);
            const double seconds = mergeJournals(scratch.folder());
            if (cold)
                note("merge, unpaced, mixed rows into the cold index", seconds, rowCount);
            else
                record(state, "merge, unpaced, mixed rows into the index", seconds, rowCount);
        }
    }
}

// --- Rebuild from the engine's listing ---

// The listing of the generated backup as the stand-in engine writes it: one
// line per file, the files of a folder together, in blocks as the session
// wrapper hands them over.
QStringList listingBlocks(bool folderOrder)
{
    constexpr int kLinesPerBlock = 1000;
    QStringList blocks;
    QString block;
    for (int row = 0; row < gFiles; ++row) {
        const int file = folderOrder ? row : fileOfRow(row);
        block += QStringLiteral("<file size=\"%1\" mod_time=\"2014-05-06 10:11:12 +0000\" file_ver=\"1\" "
                                "folder_id=\"%2\" mpc=\"/Office\" enc_name=\"enc%3\" fname=\"%4\"/>\n")
                     .arg(1000 + file)
                     .arg(file / kFilesPerFolder)
                     .arg(file)
                     .arg(filePath(file).mid(QStringLiteral("/Office").size()));
        if ((row + 1) % kLinesPerBlock == 0) {
            blocks << block;
            block.clear();
        }
    }
    if (!block.isEmpty())
        blocks << block;
    return blocks;
}

qint64 statusKiB(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qsizetype(std::strlen(field))).trimmed().split(' ').value(0).toLongLong();
    }
    return 0;
}

// Measured on the first rebuild, before any other benchmark grew the process.
qint64 gRebuildPeakGrowthKiB = -1;
qsizetype gRebuildHeldFiles = 0;

// Listing text to the swapped index: parsing, grouping, the re-index inserts,
// the commit and the replacement of a main index of the same size.
void BM_Rebuild(benchmark::State &state)
{
    const bool folderOrder = state.range(0) != 0;
    const std::string name = folderOrder ? "rebuild, listing by folder" : "rebuild, listing in no folder order";
    const QStringList blocks = listingBlocks(folderOrder);
    for (auto _ : state) {
        Scratch scratch;
        QDir().mkpath(scratch.folder());
        // The index being replaced, as large as the new one.
        if (!QFile::copy(generatedIndexFolder() + QStringLiteral("/ann.qlenc"),
                         scratch.folder() + QStringLiteral("/ann.qlenc")))
            qFatal("the index to replace cannot be copied");
        const qint64 residentBefore = statusKiB("VmRSS:");
        const auto start = Clock::now();
        ReindexBuilder builder(scratch.folder(), kUser, indexTimings(false));
        if (!builder.start(nullptr))
            qFatal("re-index database cannot be opened");
        ReindexListingReader reader(builder, true, QStringLiteral("/Office"));
        for (const QString &block : blocks)
            reader.read(block);
        QString error;
        if (!builder.finish(&error) || reader.unreadableLines() != 0)
            qFatal("rebuild failed: %s", qPrintable(error));
        record(state, name, secondsSince(start), gFiles);
        if (folderOrder && gRebuildPeakGrowthKiB < 0) {
            gRebuildPeakGrowthKiB = statusKiB("VmHWM:") - residentBefore;
            gRebuildHeldFiles = builder.largestHeldFolder();
        }
    }
}

// The ceiling: the same folder and file rows through the library directly,
// into the index's own tables, one transaction, no lookups.
void BM_RawReindexCeiling(benchmark::State &state)
{
    for (auto _ : state) {
        Scratch scratch;
        QDir().mkpath(scratch.folder());
        const QByteArray path = (scratch.folder() + QStringLiteral("/raw.qlenc")).toUtf8();
        const auto start = Clock::now();
        sqlite3 *db = nullptr;
        sqlite3_open(path.constData(), &db);
        sqlite3_key(db, FMDatabase::kDatabaseKey.constData(), int(FMDatabase::kDatabaseKey.size()));
        for (const char *statement :
             {"CREATE table if not exists qlfolder (DIRID integer primary key autoincrement, NAME char(1024) not null "
              "collate nocase,FILE_LMD char(256),FILE_SIZE __int64,LEVEL_NO integer DEFAULT 0,UNIQUE(NAME))",
              "CREATE index qlfolder_indx ON qlfolder (NAME)",
              "CREATE table if not exists qlfile (FILEID integer primary key autoincrement, DIRID integer not null, "
              "NAME char(1024) not null collate nocase,FILE_LMD char(256),FILE_SIZE __int64,FILE_OR_FOLDER integer "
              "DEFAULT 0,BKSET_LMD char(50), SYNC_DATE char(50),BACKUP_STATUS integer DEFAULT 0,BKSET_NAME "
              "char(50),HASH_VALUE __int64,THUMB integer DEFAULT 0, FOLDER_ID char(1024),MPC char(50),ENC_NAME "
              "char(1024),foreign key (DIRID) references qlfolder (DIRID),UNIQUE(dirid, name))",
              "CREATE index qlfile_indx ON qlfile (NAME)", "BEGIN EXCLUSIVE"})
            sqlite3_exec(db, statement, nullptr, nullptr, nullptr);
        sqlite3_stmt *folderInsert = nullptr;
        sqlite3_prepare_v2(db,
                           "INSERT INTO qlfolder (NAME, FILE_LMD, FILE_SIZE, LEVEL_NO) VALUES(?,'0000 000','1024',?)",
                           -1, &folderInsert, nullptr);
        sqlite3_stmt *fileInsert = nullptr;
        sqlite3_prepare_v2(
            db,
            "INSERT INTO qlfile (DIRID, NAME, FILE_LMD, FILE_SIZE, FILE_OR_FOLDER, BKSET_LMD, SYNC_DATE, "
            "BACKUP_STATUS, BKSET_NAME, HASH_VALUE,THUMB,FOLDER_ID,MPC,ENC_NAME) "
            "VALUES(?,?,'2014-05-06 10:11:12 +0000',?,1,'NA','NA',1,'Default Backupset',1234566,0,?,'/Office',?)",
            -1, &fileInsert, nullptr);
        QHash<QString, qint64> folderKeys;
        // The folder's key, inserting it and its missing ancestors first.
        const std::function<qint64(const QString &)> folderKey = [&](const QString &folder) -> qint64 {
            if (const auto known = folderKeys.constFind(folder); known != folderKeys.cend())
                return *known;
            if (!IndexNames::isRoot(folder))
                folderKey(IndexNames::parentPath(folder));
            const QByteArray name = IndexNames::folderName(folder).toUtf8();
            sqlite3_bind_text(folderInsert, 1, name.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_int(folderInsert, 2, IndexNames::depth(folder));
            sqlite3_step(folderInsert);
            sqlite3_reset(folderInsert);
            return folderKeys[folder] = sqlite3_last_insert_rowid(db);
        };
        for (int file = 0; file < gFiles; ++file) {
            const QByteArray name = QStringLiteral("'file%1.txt'").arg(file).toUtf8();
            const QByteArray folderID = QByteArray::number(file / kFilesPerFolder);
            const QByteArray encName = "enc" + QByteArray::number(file);
            sqlite3_bind_int64(fileInsert, 1, folderKey(fileFolder(file)));
            sqlite3_bind_text(fileInsert, 2, name.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_int64(fileInsert, 3, 1000 + file);
            sqlite3_bind_text(fileInsert, 4, folderID.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(fileInsert, 5, encName.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_step(fileInsert);
            sqlite3_reset(fileInsert);
        }
        sqlite3_finalize(folderInsert);
        sqlite3_finalize(fileInsert);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db);
        record(state, "raw re-index insert (ceiling)", secondsSince(start), gFiles);
    }
}

void printRebuildSummary()
{
    if (!gSeconds.count("raw re-index insert (ceiling)"))
        return;
    const double ceiling = gRows.at("raw re-index insert (ceiling)") / median("raw re-index insert (ceiling)");
    std::printf(
        "\nRebuild of %d files, %d per folder. Rates are medians; ratio = rate / raw re-index insert ceiling.\n",
        gFiles, kFilesPerFolder);
    std::printf("%-48s %12s %8s\n", "lines/s", "median", "ratio");
    for (const char *name :
         {"raw re-index insert (ceiling)", "rebuild, listing by folder", "rebuild, listing in no folder order"}) {
        if (!gSeconds.count(name))
            continue;
        const double rate = gRows.at(name) / median(name);
        std::printf("%-48s %12.0f %8.3f\n", name, rate, rate / ceiling);
    }
    std::printf("most file records held at once (listing by folder): %lld\n",
                static_cast<long long>(gRebuildHeldFiles));
    std::printf("peak resident growth during the first rebuild: %.1f MiB\n", double(gRebuildPeakGrowthKiB) / 1024.0);
}

void printSummary()
{
    if (!gSeconds.count(kCeiling) || !gSeconds.count(kProductCeiling))
        return;
    const double ceiling = gRows.at(kCeiling) / median(kCeiling);
    const double productCeiling = gRows.at(kProductCeiling) / median(kProductCeiling);
    std::printf("\nIndex of %d files. Rates are medians of %d runs or more; every run of a pipeline or a merge\n"
                "alternates with one of each ceiling. ratio = rate / raw insert ceiling (rows in no order, the\n"
                "library's page cache); ratio* = rate / the ceiling with the rows sorted and the page cache as\n"
                "the product writes and merges them; spread = slowest and fastest run's rate. The mixed rows\n"
                "(%d) go into a copy of the generated index; a cold index is dropped from the page cache\n"
                "before its merge.\n",
                gFiles, kThroughputRepeats, gFiles / 10);
    std::printf("%-48s %12s %8s %8s %22s\n", "rows/s", "median", "ratio", "ratio*", "spread");
    for (const char *name :
         {kCeiling, kProductCeiling, "journal write, unpaced", "journal write, paced", "merge, unpaced", "merge, paced",
          "pipeline (write + merge), unpaced", "pipeline, next journal written during a merge",
          "merge, unpaced, mixed rows into the index", "merge, unpaced, mixed rows into the cold index"}) {
        if (!gSeconds.count(name))
            continue;
        const std::vector<double> &seconds = gSeconds.at(name);
        const double rate = gRows.at(name) / median(name);
        std::printf("%-48s %12.0f %8.3f %8.3f %10.0f - %-10.0f\n", name, rate, rate / ceiling, rate / productCeiling,
                    gRows.at(name) / *std::max_element(seconds.begin(), seconds.end()),
                    gRows.at(name) / *std::min_element(seconds.begin(), seconds.end()));
    }
    std::printf("\n%-48s %10s %10s\n", "reader: initialise + query", "p50 ms", "p95 ms");
    for (const auto &[name, seconds] : gSeconds) {
        if (gRows.count(name))
            continue;
        std::printf("%-48s %10.1f %10.1f\n", name.c_str(), 1000 * percentile(seconds, 0.5),
                    1000 * percentile(seconds, 0.95));
    }
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    std::vector<char *> arguments;
    for (int i = 0; i < argc; ++i) {
        if (std::strncmp(argv[i], "--files=", 8) == 0)
            gFiles = std::max(1000, std::atoi(argv[i] + 8));
        else if (std::strncmp(argv[i], "--scratch=", 10) == 0)
            gScratchRoot = QString::fromLocal8Bit(argv[i] + 10);
        else
            arguments.push_back(argv[i]);
    }
    int count = int(arguments.size());
    benchmark::Initialize(&count, arguments.data());

    benchmark::RegisterBenchmark("rebuild", BM_Rebuild)
        ->Arg(1)
        ->Arg(0)
        ->Repetitions(3)
        ->Iterations(1)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("raw re-index insert (ceiling)", BM_RawReindexCeiling)
        ->Repetitions(3)
        ->Iterations(1)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("ceiling and pipeline", BM_CeilingAndPipeline)
        ->Repetitions(kThroughputRepeats)
        ->Iterations(1)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("overlapped pipeline", BM_OverlappedPipeline)
        ->Repetitions(kThroughputRepeats)
        ->Iterations(1)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("paced", BM_Paced)
        ->Repetitions(3)
        ->Iterations(1)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    registerQueries();
    benchmark::RegisterBenchmark("merge mix", BM_MergeMixIntoGeneratedIndex)
        ->Repetitions(kThroughputRepeats)
        ->Iterations(1)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    printSummary();
    printRebuildSummary();
    return 0;
}
