// A first full backup through the stand-in engine against `cp -a` of the
// benchmark tree (10,000 small files in 100 folders and three large ones;
// TX_BENCH_SMALL_FILES=100000 for the large tree), alone and followed by a
// sync of the drive (since the engine
// makes its copies durable) and against a first `rsync -a`, and a repeat
// backup of the unchanged tree against `rsync -a` over an existing copy,
// each contender run in turn in every round; prints the ratios of the
// medians after the runs.

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

// 10,000 small files, or as many as TX_BENCH_SMALL_FILES says (100000 for the large tree).
int smallFiles()
{
    static const int count = qEnvironmentVariableIntValue("TX_BENCH_SMALL_FILES") > 0
                                 ? qEnvironmentVariableIntValue("TX_BENCH_SMALL_FILES")
                                 : 10000;
    return count;
}
constexpr int kFolders = 100;
constexpr int kLargeFiles = 3;
constexpr qint64 kLargeFileBytes = 32 << 20;
constexpr int kBlockLines = 5000;  // the client's list blocks

struct Workspace
{
    QTemporaryDir dir;
    QString tree() const { return dir.path() + "/tree"; }
    QString operation() const { return dir.path() + "/operation"; }
    QStringList blocks;  // list files, at most kBlockLines lines each
    // The same lines as a backup session hands them out: full blocks, then
    // the last three lines as a block of one and a block of two.
    QStringList sessionBlocks;

    Workspace()
    {
        QRandomGenerator random(42);
        QStringList paths;
        for (int i = 0; i < smallFiles(); ++i) {
            const QString folder = QStringLiteral("%1/d%2").arg(tree()).arg(i % kFolders);
            QDir().mkpath(folder);
            paths << QStringLiteral("%1/f%2.txt").arg(folder).arg(i);
            QByteArray content(512 + int(random.bounded(3584)), Qt::Uninitialized);
            random.fillRange(reinterpret_cast<quint32 *>(content.data()), content.size() / 4);
            write(paths.last(), content);
        }
        for (int i = 0; i < kLargeFiles; ++i) {
            paths << QStringLiteral("%1/large%2.bin").arg(tree()).arg(i);
            QByteArray content(kLargeFileBytes, Qt::Uninitialized);
            random.fillRange(reinterpret_cast<quint32 *>(content.data()), content.size() / 4);
            write(paths.last(), content);
        }
        QDir().mkpath(operation());
        write(operation() + "/intCancel", "1");
        write(operation() + "/QLThrottle", "100");
        for (qsizetype start = 0; start < paths.size(); start += kBlockLines) {
            blocks << QStringLiteral("%1/File_%2").arg(operation()).arg(blocks.size());
            write(blocks.last(), paths.mid(start, kBlockLines).join('\n').toUtf8());
        }
        const qsizetype rest = paths.size() - 3;
        QList<std::pair<qsizetype, qsizetype>> sessionShares;
        for (qsizetype start = 0; start < rest; start += kBlockLines)
            sessionShares.append({start, std::min<qsizetype>(kBlockLines, rest - start)});
        sessionShares.append({rest, 1});
        sessionShares.append({rest + 1, 2});
        for (const auto &[start, count] : sessionShares) {
            sessionBlocks << QStringLiteral("%1/Session_%2").arg(operation()).arg(sessionBlocks.size());
            write(sessionBlocks.last(), paths.mid(start, count).join('\n').toUtf8());
        }
    }

    static void write(const QString &path, const QByteArray &content)
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
            std::abort();
    }

    // A new computer folder on the "drive" for every call. Nothing is
    // removed while contenders are timed: a file system slows down creating
    // files where many were just deleted, and that would fall on whoever
    // came next.
    QString freshDrive(const QString &name) const
    {
        static int made = 0;
        const QString drive =
            QStringLiteral("%1/drives/%2-%3/TarnixVidezud/bench/Mac").arg(dir.path(), name).arg(++made);
        QDir().mkpath(drive);
        return drive;
    }
};

Workspace &workspace()
{
    static Workspace instance;
    return instance;
}

void runProgram(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, arguments);
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        std::fprintf(stderr, "%s failed\n", qPrintable(program));
        std::abort();
    }
}

// One engine run per list block, as the client runs them.
void backUpBlocks(const QString &drive, const QStringList &blocks)
{
    const Workspace &space = workspace();
    for (const QString &block : blocks) {
        const QString o = space.operation();
        runProgram(TXRUVO_PATH,
                   {"--o=" + o + "/OutData.txt", "--e=" + o + "/ErrorData.txt", "--bw-file=" + o + "/QLThrottle",
                    "--relative", "--encode", "--enc-opt", "--add-progress", "--xml-output", "--portable",
                    "--portable-dest=" + drive, "--temp=" + o, "--port=443", "--chk-cancel=" + o + "/intCancel",
                    "--files-from=" + block, "/", "bench@127.0.0.1::home" + drive});
    }
}

void backUp(const QString &drive) { backUpBlocks(drive, workspace().blocks); }

std::map<std::string, std::vector<double>> gSecondsOfRuns;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// One contender of a comparison: what it does to a drive folder, and the
// folder it works on (made fresh, or kept for a repeat run).
struct Contender
{
    std::string name;
    std::function<QString()> prepare;  // not timed
    std::function<void(const QString &drive)> work;
};

double timeOnce(const Contender &contender)
{
    const QString drive = contender.prepare();
    ::sync();  // earlier runs' writes are not charged to this one
    QElapsedTimer clock;
    clock.start();
    contender.work(drive);
    const double seconds = clock.nsecsElapsed() / 1e9;
    gSecondsOfRuns[contender.name].push_back(seconds);
    return seconds;
}

// Each iteration runs every contender once, one right after the other, so
// a change in the machine's load falls on all of them alike; the
// iteration's time is the engine's (the last contender).
void timeRounds(benchmark::State &state, const std::vector<Contender> &contenders)
{
    for (auto _ : state) {
        double seconds = 0;
        for (const Contender &contender : contenders)
            seconds = timeOnce(contender);
        state.SetIterationTime(seconds);
    }
}

void rsyncTree(const QString &drive) { runProgram("rsync", {"-a", workspace().tree() + '/', drive + "/tree/"}); }

void copyTree(const QString &drive) { runProgram("cp", {"-a", workspace().tree(), drive + "/tree"}); }

// A first backup against `cp -a`, alone and followed by a sync of the
// drive's file system (what the engine's durability costs it), and against
// a first `rsync -a`.
void BM_FullBackup(benchmark::State &state)
{
    timeRounds(state, {{"cp", [] { return workspace().freshDrive("cp"); }, copyTree},
                       {"cp + sync", [] { return workspace().freshDrive("cp-sync"); },
                        [](const QString &drive) {
                            copyTree(drive);
                            runProgram("sync", {"-f", drive});
                        }},
                       {"rsync -a first copy", [] { return workspace().freshDrive("rsync-first"); }, rsyncTree},
                       {"txruvo full", [] { return workspace().freshDrive("txruvo"); }, backUp}});
}

// A repeat backup of the unchanged tree against `rsync -a` over its own
// copy; also in the blocks of a backup session (four engine runs).
void BM_RepeatBackup(benchmark::State &state)
{
    const QString rsyncDrive = workspace().freshDrive("rsync");
    rsyncTree(rsyncDrive);
    const QString engineDrive = workspace().freshDrive("txruvo-repeat");
    backUp(engineDrive);
    timeRounds(state, {{"rsync", [&] { return rsyncDrive; }, rsyncTree},
                       {"txruvo session repeat", [&] { return engineDrive; },
                        [](const QString &drive) { backUpBlocks(drive, workspace().sessionBlocks); }},
                       {"txruvo repeat", [&] { return engineDrive; }, backUp}});
}

BENCHMARK(BM_FullBackup)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_RepeatBackup)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(9);

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    workspace();  // the tree is made before any timing
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    const auto ratio = [](const char *engine, const char *reference) {
        if (!gSecondsOfRuns.count(engine) || !gSecondsOfRuns.count(reference))
            return;
        const double ours = median(gSecondsOfRuns[engine]);
        const double theirs = median(gSecondsOfRuns[reference]);
        std::printf("%s / %s: %.2fx (medians of %zu runs: %.0f ms / %.0f ms)\n", engine, reference, ours / theirs,
                    gSecondsOfRuns[engine].size(), ours * 1000, theirs * 1000);
    };
    double load[3] = {};
    ::getloadavg(load, 3);
    std::printf("\n%d small files, %d files of %lld MiB; load %.2f %.2f %.2f\n", smallFiles(), kLargeFiles,
                kLargeFileBytes >> 20, load[0], load[1], load[2]);
    ratio("txruvo full", "cp");
    ratio("txruvo full", "cp + sync");
    ratio("txruvo full", "rsync -a first copy");
    ratio("txruvo repeat", "rsync");
    ratio("txruvo session repeat", "rsync");
    std::fflush(stdout);  // before the workspace's slow removal
    return 0;
}
