// Latency of the destination browser's folder listing and of the search
// view's key search on a generated index, as a reader meets them: a new
// wrapper, its initialisation, the query, every row handed to the receiver.
//
//   bin/index_query_bench                          100,000 files (quick)
//   bin/index_query_bench --files=1000000          the full-size index
//   bin/index_query_bench --index=DIR              keeps the generated index in DIR and reuses it
//   bin/index_query_bench --runs=N                 runs per figure (at least 20; 25 by default)
//
// The index is built by a child process (this program with --build-only), so
// that the figures come from a process whose heap never held the build, as in
// the client, which only reads the index. Every figure is taken warm (the
// index's pages in the system's cache) and cold (the index file's pages
// dropped from the cache before each run, with posix_fadvise, so only this
// file is evicted), without the product's 1 s wait before opening and with
// it. The summary prints p50 and p95 of each, and the p50 as a ratio of a
// reference measured in the same run: the library alone opening the file with
// the same key (listings), or stepping the plain join of the files whose name
// holds the key (searches).

#include "GeneratedIndex.h"
#include "index/IndexTimings.h"
#include "index/TXDatabaseWrapper.h"
#include "index/TXDatabaseWrapperDelegate.h"
#include "index/journals/DataBaseWrapper.h"
#include "index/sqlite/FMDatabase.h"
#include "index/sqlite/FMDatabaseKey.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

int gFiles = 100000;
int gRuns = 25;
QString gIndexFolder;  // <the --index folder or a scratch folder>/files-<gFiles>
const QString kUser = QStringLiteral("ann");
// Matches file1, file10-file19, file100-... : 111,111 files of 1,000,000.
const QString kCommonKey = QStringLiteral("file1");

struct Sample
{
    double seconds = 0;
    double firstRowsSeconds = 0;  // until the first rows reached the receiver
    double cpuSeconds = 0;        // of the whole process, every thread
    int rows = 0;
};
std::map<std::string, std::vector<Sample>> gSamples;

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

double processCpuSeconds()
{
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

double percentile(std::vector<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    const size_t index = std::min(values.size() - 1, size_t(fraction * double(values.size() - 1) + 0.5));
    return values.at(index);
}

// The machine's one-minute load average: the figures are only as quiet as the machine.
QString loadAverage()
{
    QFile load(QStringLiteral("/proc/loadavg"));
    return load.open(QIODevice::ReadOnly) ? QString::fromLatin1(load.readAll()).section(QLatin1Char(' '), 0, 0)
                                          : QStringLiteral("?");
}
QString gLoadAtStart;

// --- The generated index ---

using GeneratedIndex::fileFolder;
using GeneratedIndex::kFilesPerFolder;
using GeneratedIndex::kTopFolders;

IndexTimings indexTimings(bool withOpenWait)
{
    IndexTimings timings;
    if (!withOpenWait)
        timings.openWait = std::chrono::milliseconds(0);
    timings.mergePause = std::chrono::milliseconds(0);
    return timings;
}

QString mainIndexPath() { return gIndexFolder + QStringLiteral("/ann.qlenc"); }

QString readyMarkerPath() { return gIndexFolder + QStringLiteral("/complete"); }

bool indexIsBuilt() { return QFile::exists(readyMarkerPath()) && QFile::exists(mainIndexPath()); }

void buildIndex()
{
    std::printf("building an index of %d files in %s ...\n", gFiles, qPrintable(gIndexFolder));
    std::fflush(stdout);
    const auto start = Clock::now();
    GeneratedIndex::build(gIndexFolder, kUser, gFiles);
    QFile marker(readyMarkerPath());
    marker.open(QIODevice::WriteOnly);
    std::printf("built in %.1f s\n", secondsSince(start));
}

// Builds the index, when it is not there yet, in a child process running
// this program with --build-only.
void buildIndexInAChild(const QString &indexBase)
{
    if (indexIsBuilt())
        return;
    std::fflush(stdout);
    const QStringList arguments{QStringLiteral("--build-only"), QStringLiteral("--files=%1").arg(gFiles),
                                QStringLiteral("--index=%1").arg(indexBase)};
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QCoreApplication::applicationFilePath(), arguments);
    if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0 ||
        !indexIsBuilt())
        qFatal("the index could not be built");
}

// --- Cold runs ---

QStringList indexFiles()
{
    return {mainIndexPath(), mainIndexPath() + QStringLiteral("-wal"), mainIndexPath() + QStringLiteral("-shm")};
}

// Drops the index file's pages from the system's cache (clean pages only,
// which they are: nothing writes the index while the benchmark reads it).
void evictIndex()
{
    for (const QString &path : indexFiles()) {
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
        if (fd < 0)
            continue;
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
        ::close(fd);
    }
}

// The share of the index file's pages in the system's cache.
double residentShare()
{
    const int fd = ::open(QFile::encodeName(mainIndexPath()).constData(), O_RDONLY);
    struct stat status
    {};
    if (fd < 0 || ::fstat(fd, &status) != 0 || status.st_size == 0)
        return -1;
    void *map = ::mmap(nullptr, size_t(status.st_size), PROT_READ, MAP_SHARED, fd, 0);
    ::close(fd);
    if (map == MAP_FAILED)
        return -1;
    const long page = ::sysconf(_SC_PAGESIZE);
    std::vector<unsigned char> resident(size_t((status.st_size + page - 1) / page));
    ::mincore(map, size_t(status.st_size), resident.data());
    ::munmap(map, size_t(status.st_size));
    const auto inCache = std::count_if(resident.begin(), resident.end(), [](unsigned char v) { return v & 1; });
    return double(inCache) / double(resident.size());
}

// --- Measurements ---

// Counts what a query hands over and when the first rows came, and keeps
// every row till the end of the run, as the search controller keeps its list.
class TimingReceiver : public TXDatabaseWrapperDelegate
{
public:
    TimingReceiver(Clock::time_point start, bool streamed)
        : mStart(start)
        , mStreamed(streamed)
    {}

    bool takesRowsAsTheyCome() const override { return mStreamed; }
    bool queryDidReadRows(const IndexEntries &rows) override
    {
        take(rows);
        return true;
    }
    void queryFinishedWithEntries(const IndexEntries &entries) override { take(entries); }
    void queryFailedWithError(const QString &error) override { qFatal("query failed: %s", qPrintable(error)); }

    Sample sample;

private:
    void take(const IndexEntries &rows)
    {
        if (sample.rows == 0 && !rows.isEmpty())
            sample.firstRowsSeconds = secondsSince(mStart);
        sample.rows += int(rows.size());
        mKept += rows;
    }

    Clock::time_point mStart;
    bool mStreamed;
    IndexEntries mKept;
};

using Query = std::function<void(TXDatabaseWrapper &)>;

// As a reader runs it: a new wrapper, its initialisation, then the query.
Sample runQuery(const Query &query, bool withOpenWait, bool streamed)
{
    const auto start = Clock::now();
    TimingReceiver receiver(start, streamed);
    {
        TXDatabaseWrapper wrapper(indexTimings(withOpenWait));
        wrapper.setDelegate(&receiver);
        wrapper.initializeDatabaseAtPath(gIndexFolder, kUser, TXDatabaseWrapper::kListingMode);
        query(wrapper);
    }
    receiver.sample.seconds = secondsSince(start);
    return receiver.sample;
}

// The library alone: open, key, and the statement stepped to its end with
// every column read. Without a statement, the schema is read once.
Sample runRaw(const char *sql, const QByteArray &argument)
{
    const auto start = Clock::now();
    Sample sample;
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(mainIndexPath()).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    const QByteArray key = FMDatabaseKey::keyTextForFile(mainIndexPath(), FMDatabase::kDatabaseKey);
    sqlite3_key(db, key.constData(), int(key.size()));
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK)
        qFatal("reference statement: %s", sqlite3_errmsg(db));
    if (!argument.isNull())
        sqlite3_bind_text(statement, 1, argument.constData(), int(argument.size()), SQLITE_STATIC);
    qsizetype bytes = 0;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        if (++sample.rows == 1)
            sample.firstRowsSeconds = secondsSince(start);
        for (int column = 0; column < sqlite3_column_count(statement); ++column) {
            sqlite3_column_text(statement, column);
            bytes += sqlite3_column_bytes(statement, column);
        }
    }
    benchmark::DoNotOptimize(bytes);
    sqlite3_finalize(statement);
    sqlite3_close(db);
    sample.seconds = secondsSince(start);
    return sample;
}

enum class Cache
{
    Warm,
    Cold
};

void registerRuns(const std::string &name, Cache cache, const std::function<Sample()> &run)
{
    const std::string fullName = name + (cache == Cache::Cold ? ", cold" : ", warm");
    benchmark::RegisterBenchmark(fullName.c_str(),
                                 [fullName, cache, run](benchmark::State &state) {
                                     if (cache == Cache::Warm)
                                         run();  // brings the pages in; not counted
                                     for (auto _ : state) {
                                         if (cache == Cache::Cold)
                                             evictIndex();
                                         const double cpuBefore = processCpuSeconds();
                                         Sample sample = run();
                                         sample.cpuSeconds = processCpuSeconds() - cpuBefore;
                                         state.SetIterationTime(sample.seconds);
                                         gSamples[fullName].push_back(sample);
                                         state.counters["rows"] = sample.rows;
                                     }
                                 })
        ->Iterations(gRuns)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
}

// Each figure warm and cold, and, when asked, with the product's wait too.
void registerQuery(const std::string &name, const Query &query, bool streamed = false, bool alsoWithWait = false)
{
    for (const Cache cache : {Cache::Warm, Cache::Cold}) {
        registerRuns(name, cache, [query, streamed] { return runQuery(query, false, streamed); });
        if (alsoWithWait)
            registerRuns(name + ", with the 1 s wait", cache,
                         [query, streamed] { return runQuery(query, true, streamed); });
    }
}

const char *const kReferenceOpen = "SELECT count(*) FROM sqlite_master";
const char *const kReferenceSearch =
    "SELECT qlfolder.NAME, qlfile.NAME, qlfile.FILE_LMD, qlfile.FILE_SIZE, qlfile.FILE_OR_FOLDER,"
    " qlfile.FOLDER_ID, qlfile.ENC_NAME, qlfile.MPC FROM qlfile JOIN qlfolder ON qlfile.DIRID = qlfolder.DIRID"
    " WHERE qlfile.NAME LIKE ?";

Query listing(const QString &folder)
{
    return [folder](TXDatabaseWrapper &wrapper) { wrapper.fetchChildrenForPath(folder); };
}

Query search(const QString &key)
{
    return [key](TXDatabaseWrapper &wrapper) {
        wrapper.searchForKeyInsidePath({{"SearchKey", key}, {"PathRootForSearch", QString()}});
    };
}

const std::string kOpenReference = "reference: library open + key + schema read";
const std::string kSearchReference = "reference: library join of names holding \"file1\"";

void registerAll()
{
    const QString tenFiles = fileFolder(gFiles / 2).mid(1);
    const std::string wide = std::to_string(gFiles / kFilesPerFolder / kTopFolders);
    for (const Cache cache : {Cache::Warm, Cache::Cold}) {
        registerRuns(kOpenReference, cache, [] { return runRaw(kReferenceOpen, QByteArray()); });
        registerRuns(kSearchReference, cache, [] { return runRaw(kReferenceSearch, "%" + kCommonKey.toUtf8() + "%"); });
    }
    registerQuery("listing: root", listing(QString()));
    registerQuery("listing: folder of 10 files", listing(tenFiles), false, true);
    registerQuery("listing: folder of " + wide + " folders", listing(QStringLiteral("Office/Users/ann/p7")));
    registerQuery("search: rare key", search(QStringLiteral("file%1.txt").arg(gFiles / 2)), true);
    registerQuery("search: common key \"file1\", one list", search(kCommonKey));
    registerQuery("search: common key \"file1\", streamed", search(kCommonKey), true, true);
}

std::vector<double> field(const std::vector<Sample> &samples, double Sample::*member)
{
    std::vector<double> values;
    for (const Sample &sample : samples)
        values.push_back(sample.*member);
    return values;
}

void printSummary()
{
    std::printf("\nIndex of %d files (%d folders); %d runs per figure. Times in ms from the reader's start:\n"
                "all = every row handed over, first = the first rows handed over, cpu = the process's\n"
                "processor time over all its threads (the work, whatever the machine's load).\n"
                "ratio = p50 (all) / p50 of the reference of the same cache state.\n\n",
                gFiles, gFiles / kFilesPerFolder, gRuns);
    std::printf("%-62s %8s %9s %9s %9s %9s %8s %7s\n", "", "rows", "all p50", "all p95", "first p50", "first p95",
                "cpu p50", "ratio");
    for (const auto &[name, samples] : gSamples) {
        const bool cold = name.size() > 6 && name.compare(name.size() - 6, 6, ", cold") == 0;
        const std::string &reference = name.rfind("search", 0) == 0 ? kSearchReference : kOpenReference;
        const auto referenceSamples = gSamples.find(reference + (cold ? ", cold" : ", warm"));
        const std::vector<double> seconds = field(samples, &Sample::seconds);
        const std::vector<double> first = field(samples, &Sample::firstRowsSeconds);
        std::printf("%-62s %8d %9.1f %9.1f %9.1f %9.1f %8.1f", name.c_str(), samples.back().rows,
                    1000 * percentile(seconds, 0.5), 1000 * percentile(seconds, 0.95), 1000 * percentile(first, 0.5),
                    1000 * percentile(first, 0.95), 1000 * percentile(field(samples, &Sample::cpuSeconds), 0.5));
        if (name.rfind("reference", 0) != 0 && referenceSamples != gSamples.end())
            std::printf(" %7.2f",
                        percentile(seconds, 0.5) / percentile(field(referenceSamples->second, &Sample::seconds), 0.5));
        std::printf("\n");
    }
    std::printf("\nload average at the start: %s, at the end: %s (%u cores)\n", qPrintable(gLoadAtStart),
                qPrintable(loadAverage()), std::thread::hardware_concurrency());
    std::printf("index file: %.0f MiB; resident in the system's cache after an eviction: %.0f%%\n",
                double(QFileInfo(mainIndexPath()).size()) / (1 << 20), [] {
                    evictIndex();
                    return 100 * residentShare();
                }());
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    std::vector<char *> arguments;
    QString keptIndex;
    bool buildOnly = false;
    for (int i = 0; i < argc; ++i) {
        if (std::strncmp(argv[i], "--files=", 8) == 0)
            gFiles = std::max(1000, std::atoi(argv[i] + 8));
        else if (std::strncmp(argv[i], "--runs=", 7) == 0)
            gRuns = std::max(20, std::atoi(argv[i] + 7));
        else if (std::strncmp(argv[i], "--index=", 8) == 0)
            keptIndex = QString::fromLocal8Bit(argv[i] + 8);
        else if (std::strcmp(argv[i], "--build-only") == 0)
            buildOnly = true;
        else
            arguments.push_back(argv[i]);
    }
    QTemporaryDir scratch;
    const QString indexBase = keptIndex.isEmpty() ? scratch.path() : keptIndex;
    gIndexFolder = indexBase + QStringLiteral("/files-%1").arg(gFiles);
    if (buildOnly) {
        buildIndex();
        return 0;
    }
    buildIndexInAChild(indexBase);
    int count = int(arguments.size());
    benchmark::Initialize(&count, arguments.data());
    registerAll();
    gLoadAtStart = loadAverage();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (!gSamples.empty())
        printSummary();
    return 0;
}
