// A first full backup through the stand-in engine against `cp -a` of the
// same tree (alone, and followed by a sync of the drive, since the engine
// makes its copies durable), and a repeat backup of the unchanged tree
// against `rsync -a` over an existing copy; prints the three ratios of the
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
#include <map>
#include <vector>
#include <unistd.h>

namespace {

constexpr int kSmallFiles = 10000;
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

    Workspace()
    {
        QRandomGenerator random(42);
        QStringList paths;
        for (int i = 0; i < kSmallFiles; ++i) {
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
    }

    static void write(const QString &path, const QByteArray &content)
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
            std::abort();
    }

    // A fresh computer folder on the "drive".
    QString freshDrive(const QString &name) const
    {
        const QString drive = dir.path() + "/drives/" + name + "/TarnixVidezud/bench/Mac";
        QDir(dir.path() + "/drives/" + name).removeRecursively();
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
void backUp(const QString &drive)
{
    const Workspace &space = workspace();
    for (const QString &block : space.blocks) {
        const QString o = space.operation();
        runProgram(TXRUVO_PATH, {"--o=" + o + "/OutData.txt", "--e=" + o + "/ErrorData.txt",
                                 "--bw-file=" + o + "/QLThrottle", "--relative", "--encode", "--enc-opt",
                                 "--add-progress", "--xml-output", "--portable", "--portable-dest=" + drive,
                                 "--temp=" + o, "--port=443", "--chk-cancel=" + o + "/intCancel",
                                 "--files-from=" + block, "/", "bench@127.0.0.1::home" + drive});
    }
}

std::map<std::string, std::vector<double>> gSecondsOfRuns;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// Times `work` on a drive folder that `prepare` gives; the preparation
// (removing the previous run's copy) is not timed.
template <typename Prepare, typename Work>
void timeRuns(benchmark::State &state, const std::string &name, const Prepare &prepare, const Work &work)
{
    for (auto _ : state) {
        const QString drive = prepare();
        ::sync();  // earlier runs' writes are not charged to this one
        QElapsedTimer clock;
        clock.start();
        work(drive);
        const double seconds = clock.nsecsElapsed() / 1e9;
        state.SetIterationTime(seconds);
        gSecondsOfRuns[name].push_back(seconds);
    }
}

void rsyncTree(const QString &drive)
{
    runProgram("rsync", {"-a", workspace().tree() + '/', drive + "/tree/"});
}

void BM_CpAFull(benchmark::State &state)
{
    timeRuns(
        state, "cp", [] { return workspace().freshDrive("cp"); },
        [](const QString &drive) { runProgram("cp", {"-a", workspace().tree(), drive + "/tree"}); });
}

// `cp -a`, then the drive's file system synced: what the engine's durability costs it.
void BM_CpASyncFull(benchmark::State &state)
{
    timeRuns(
        state, "cp + sync", [] { return workspace().freshDrive("cp-sync"); },
        [](const QString &drive) {
            runProgram("cp", {"-a", workspace().tree(), drive + "/tree"});
            runProgram("sync", {"-f", drive});
        });
}

void BM_TxruvoFull(benchmark::State &state)
{
    timeRuns(state, "txruvo full", [] { return workspace().freshDrive("txruvo"); }, backUp);
}

void BM_RsyncRepeat(benchmark::State &state)
{
    const QString drive = workspace().freshDrive("rsync");
    rsyncTree(drive);
    timeRuns(state, "rsync", [&] { return drive; }, rsyncTree);
}

void BM_TxruvoRepeat(benchmark::State &state)
{
    const QString drive = workspace().freshDrive("txruvo-repeat");
    backUp(drive);
    timeRuns(state, "txruvo repeat", [&] { return drive; }, backUp);
}

BENCHMARK(BM_CpAFull)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_CpASyncFull)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_TxruvoFull)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_RsyncRepeat)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_TxruvoRepeat)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

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
        std::printf("%s / %s: %.2fx (medians %.0f ms / %.0f ms)\n", engine, reference, ours / theirs, ours * 1000,
                    theirs * 1000);
    };
    double load[3] = {};
    ::getloadavg(load, 3);
    std::printf("\n%d small files, %d files of %lld MiB; medians of %zu runs; load %.2f %.2f %.2f\n", kSmallFiles,
                kLargeFiles, kLargeFileBytes >> 20,
                gSecondsOfRuns.empty() ? size_t(0) : gSecondsOfRuns.begin()->second.size(), load[0], load[1], load[2]);
    ratio("txruvo full", "cp");
    ratio("txruvo full", "cp + sync");
    ratio("txruvo repeat", "rsync");
    return 0;
}
