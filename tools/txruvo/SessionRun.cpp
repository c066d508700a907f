#include "txruvo/SessionRun.h"

#include "txruvo/Credentials.h"
#include "txruvo/ExitStatus.h"
#include "txruvo/Posix.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

// Descriptors kept for everything but the copies waiting for their sync.
constexpr qsizetype kReservedFiles = 64;

}  // namespace

SessionRun::SessionRun(const CommandLine &commandLine, const Scenario &scenario, const EngineTimings &timings,
                       DurableBatch::FileSystemSync sync)
    : mCommandLine(commandLine)
    , mScenario(scenario)
    , mTimings(timings)
    , mSync(std::make_unique<SharedSync>(std::move(sync)))
    , mReport(scenario, timings)
    , mControl(commandLine.value(QStringLiteral("--chk-cancel")), commandLine.value(QStringLiteral("--bw-file")),
               timings)
    , mDataRoot(commandLine.value(QStringLiteral("--portable-dest")))
    , mDriveBudget(scenario.driveCapacity)
{}

int SessionRun::copyThreads()
{
    constexpr int kMaxThreads = 4;
    return std::min(kMaxThreads, std::max(1, int(std::thread::hardware_concurrency())));
}

DurableBatch::Rules SessionRun::openCopyBatchRules(int threads)
{
    DurableBatch::Rules rules = batchRules();
    const qsizetype share = (Posix::openFileLimit() - kReservedFiles) / std::max(threads, 1);
    rules.limits.files = std::clamp<qsizetype>(share, 1, rules.limits.files);
    return rules;
}

std::optional<SessionRun::Stop> SessionRun::prepare()
{
    if (!mCommandLine.has(CommandLine::kOutputFile) || !mCommandLine.has(CommandLine::kErrorFile)) {
        std::fprintf(stderr, "txruvo error: invalid path (a session needs --o= and --e= files)\n");
        return Stop{ExitStatus::kMalformed};
    }
    QString error;
    if (!mReport.open(mCommandLine.value(CommandLine::kOutputFile), mCommandLine.value(CommandLine::kErrorFile),
                      &error)) {
        std::fprintf(stderr, "txruvo error: invalid path (%s)\n", qPrintable(error));
        return Stop{ExitStatus::kMalformed};
    }
    if (!mScenario.errorText.isEmpty())
        mReport.error(mScenario.errorText);

    if (mDataRoot.isEmpty())
        return fatal(QStringLiteral("txruvo error: invalid path (no --portable-dest= data root given)"));
    struct stat status
    {};
    if (!Posix::statPath(mDataRoot, &status) || !S_ISDIR(status.st_mode))
        return fatal(QStringLiteral("txruvo error: device is not connected (%1)").arg(mDataRoot));
    if (std::optional<Stop> refused = checkCredentials())
        return refused;

    const QString listPath = mCommandLine.value(QStringLiteral("--files-from"));
    if (listPath.isEmpty())
        return fatal(QStringLiteral("txruvo error: invalid source path for operation (no --files-from= list given)"));
    std::optional<ListFile> list = ListFile::read(listPath, &error);
    if (!list)
        return fatal(QStringLiteral("txruvo error: invalid source path for operation (%1: %2)").arg(listPath, error));
    mList = std::move(*list);
    return std::nullopt;
}

std::optional<SessionRun::Stop> SessionRun::checkCredentials()
{
    if (const std::optional<QString> refusal = Credentials(mCommandLine, mScenario).refusal())
        return fatal(*refusal);
    return std::nullopt;
}

namespace {

// The folder part of a list line: the key that shares the lines among threads.
QByteArrayView folderOf(QByteArrayView line) { return line.first(std::max<qsizetype>(line.lastIndexOf('/'), 0)); }

}  // namespace

int SessionRun::forEachEntry(int workers, const WorkerFactory &makeWorker)
{
    workers = std::clamp(workers, 1, int(std::max<qsizetype>(mList.entries().size(), 1)));
    if (mScenario.active || workers == 1) {
        const std::unique_ptr<Worker> worker = makeWorker();
        for (int i = 0; i < mList.entries().size(); ++i) {
            std::optional<Stop> stop = beforeEntry(i, *worker);
            if (!stop)
                stop = worker->handle(mList.entries().at(i));
            if (stop)
                return stop->exitStatus;
        }
        return finish(*worker);
    }
    // Whole folders go to the threads as they become free, largest first: a
    // thread slowed by its folders (a busy part of the drive) does not hold
    // up the run while the others have nothing left to do. One thread runs
    // on this one; a list of fewer folders starts fewer threads.
    const QList<QList<qsizetype>> folders = entriesByFolder();
    std::atomic<qsizetype> nextFolder = 0;
    const auto handleWithOwnWorker = [this, &makeWorker, &folders, &nextFolder] {
        const std::unique_ptr<Worker> worker = makeWorker();
        handleFolders(folders, nextFolder, *worker);
    };
    std::vector<std::thread> threads;
    for (qsizetype i = 1; i < std::min<qsizetype>(workers, folders.size()); ++i)
        threads.emplace_back(handleWithOwnWorker);
    handleWithOwnWorker();
    for (std::thread &thread : threads)
        thread.join();
    // Each worker finished its folders; a scenario (its early end) never runs here.
    if (mStop)
        return mStop->exitStatus;
    return cancelRequested() ? 0 : mScenario.exitCode.value_or(0);
}

QList<QList<qsizetype>> SessionRun::entriesByFolder() const
{
    // The entries of each folder, folders in the order they first appear.
    QHash<QByteArrayView, qsizetype> folderIndex;
    QList<QList<qsizetype>> folders;
    for (qsizetype i = 0; i < mList.entries().size(); ++i) {
        const QByteArrayView folder = folderOf(mList.entries().at(i).bytes);
        const auto known = folderIndex.constFind(folder);
        if (known != folderIndex.cend()) {
            folders[known.value()] << i;
        } else {
            folderIndex.insert(folder, folders.size());
            folders << QList<qsizetype>{i};
        }
    }
    // Largest first, so that the last folders taken are small and the
    // threads end at about the same time.
    std::stable_sort(folders.begin(), folders.end(),
                     [](const QList<qsizetype> &a, const QList<qsizetype> &b) { return a.size() > b.size(); });
    return folders;
}

void SessionRun::handleFolders(const QList<QList<qsizetype>> &folders, std::atomic<qsizetype> &nextFolder,
                               Worker &worker)
{
    std::optional<Stop> stop;
    for (qsizetype folder = nextFolder++; folder < folders.size() && !stop; folder = nextFolder++) {
        for (const qsizetype index : folders.at(folder)) {
            if (mStopping)
                return;
            stop = cancelRequested() ? std::optional(Stop{0}) : worker.handle(mList.entries().at(index));
            if (stop)
                break;
        }
    }
    if (!stop)
        stop = worker.finish();
    if (stop) {
        QMutexLocker locker(&mStopLock);
        if (!mStop)
            mStop = stop;
        mStopping = true;
    }
}

std::optional<SessionRun::Stop> SessionRun::beforeEntry(int index, Worker &worker)
{
    if (mScenario.stopMode != Scenario::StopMode::None && index == mScenario.stopAfterFiles) {
        // The entries handled so far count as done, reported before the end.
        if (std::optional<Stop> stop = worker.finish())
            return stop;
        mReport.flush();
        return Stop{*mScenario.stopAfter(index)};
    }
    if (cancelRequested())
        return Stop{0};
    return std::nullopt;
}

bool SessionRun::cancelRequested() { return mControl.cancelRequested(); }

bool SessionRun::failedByScenario(const QString &entry)
{
    const auto failure = mScenario.failFiles.constFind(entry);
    if (failure == mScenario.failFiles.cend())
        return false;
    mReport.fileError(entry, failure.value());
    return true;
}

int SessionRun::finish(Worker &worker)
{
    if (std::optional<Stop> stop = beforeEntry(int(mList.entries().size()), worker))
        return stop->exitStatus;
    if (std::optional<Stop> stop = worker.finish())
        return stop->exitStatus;
    return mScenario.exitCode.value_or(0);
}

SessionRun::Stop SessionRun::fatal(const QString &message)
{
    mReport.error(message);
    return Stop{ExitStatus::kFailed};
}

SessionRun::Stop SessionRun::driveFull()
{
    return fatal(QStringLiteral("txruvo error: error in file write (No space left on device)"));
}

std::optional<SessionRun::Stop> SessionRun::flush(DurableBatch &batch, std::optional<Stop> commitStop)
{
    DurableBatch::Cut cut = DurableBatch::Cut::None;
    if (const std::optional<DurableBatch::SyncFailure> failure = batch.flush(&cut)) {
        if (failure->error == ENOSPC)
            return driveFull();
        return fatal(QStringLiteral("txruvo error: copies could not be made durable (%1)")
                         .arg(Posix::errorText(failure->error)));
    }
    switch (cut) {
    case DurableBatch::Cut::Cancelled:
        return Stop{0};
    case DurableBatch::Cut::Stopped:
        return commitStop;
    case DurableBatch::Cut::None:
        break;
    }
    return std::nullopt;
}

std::optional<SessionRun::Stop> SessionRun::copyFailed(const QString &entry, const FileCopier &copier)
{
    switch (copier.failure()) {
    case FileCopier::Failure::DriveFull:
        return driveFull();
    case FileCopier::Failure::Cancelled:
        return Stop{0};
    case FileCopier::Failure::Changed:
        // Never reported as stored: the next backup copies it again.
        mReport.fileError(entry, QStringLiteral("File changed while it was copied (txruvo error in file IO)"));
        break;
    case FileCopier::Failure::Source:
    case FileCopier::Failure::Destination:
    case FileCopier::Failure::None:
        mReport.fileError(entry, copier.error());
        break;
    }
    return std::nullopt;
}

FileCopier::ChunkCallback SessionRun::chunkReporter(const ProgressLine &file, ProgressLine::Kind kind)
{
    auto reported = std::make_shared<quint64>(0);
    auto sinceProgress = std::make_shared<QElapsedTimer>();
    sinceProgress->start();
    return [this, file, kind, reported, sinceProgress](quint64 done) {
        std::optional<ProgressLine> partial;
        if (std::chrono::milliseconds(sinceProgress->elapsed()) >= mTimings.progressInterval && done < file.size) {
            sinceProgress->restart();
            partial = file;
            partial->offset = done;
            partial->percent = int(done * 100 / file.size);
        }
        mReport.copied(done - *reported, partial ? &*partial : nullptr, kind);
        *reported = done;
        mReport.flushIfDue();  // lines held while a long copy runs
        return !cancelRequested();
    };
}
