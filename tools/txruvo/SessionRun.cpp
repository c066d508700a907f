#include "txruvo/SessionRun.h"

#include "txruvo/Credentials.h"
#include "txruvo/Posix.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kFatalStatus = 1;
constexpr int kMalformedStatus = 2;
// How often a long copy reports its progress.
constexpr qint64 kProgressIntervalMs = 500;

const QString kOutputOption = QStringLiteral("--o");
const QString kErrorOption = QStringLiteral("--e");

}  // namespace

SessionRun::SessionRun(const CommandLine &commandLine, const Scenario &scenario)
    : mCommandLine(commandLine)
    , mScenario(scenario)
    , mReport(scenario)
    , mControl(commandLine.value(QStringLiteral("--chk-cancel")), commandLine.value(QStringLiteral("--bw-file")))
    , mDataRoot(commandLine.value(QStringLiteral("--portable-dest")))
    , mDriveBudget(scenario.driveCapacity)
{
}

std::optional<SessionRun::Stop> SessionRun::prepare()
{
    if (!mCommandLine.has(kOutputOption) || !mCommandLine.has(kErrorOption)) {
        std::fprintf(stderr, "txruvo error: invalid path (a session needs --o= and --e= files)\n");
        return Stop{kMalformedStatus};
    }
    QString error;
    if (!mReport.open(mCommandLine.value(kOutputOption), mCommandLine.value(kErrorOption), &error)) {
        std::fprintf(stderr, "txruvo error: invalid path (%s)\n", qPrintable(error));
        return Stop{kMalformedStatus};
    }
    if (!mScenario.errorText.isEmpty())
        mReport.error(mScenario.errorText);

    if (mDataRoot.isEmpty())
        return fatal(QStringLiteral("txruvo error: invalid path (no --portable-dest= data root given)"));
    struct stat status {};
    if (!Posix::statPath(mDataRoot, &status) || !S_ISDIR(status.st_mode))
        return fatal(QStringLiteral("txruvo error: device is not connected (%1)").arg(mDataRoot));
    if (std::optional<Stop> refused = checkCredentials())
        return refused;

    const QString listPath = mCommandLine.value(QStringLiteral("--files-from"));
    if (listPath.isEmpty())
        return fatal(QStringLiteral("txruvo error: invalid source path for operation (no --files-from= list given)"));
    std::optional<QList<ListEntry>> entries = readListFile(listPath, &error);
    if (!entries)
        return fatal(QStringLiteral("txruvo error: invalid source path for operation (%1: %2)").arg(listPath, error));
    mEntries = std::move(*entries);
    return std::nullopt;
}

std::optional<SessionRun::Stop> SessionRun::checkCredentials()
{
    if (const std::optional<QString> refusal = Credentials(mCommandLine, mScenario).refusal())
        return fatal(*refusal);
    return std::nullopt;
}

int SessionRun::forEachEntry(int workers, const EntryHandler &handle)
{
    workers = mScenario.active ? 1 : std::clamp(workers, 1, int(std::max<qsizetype>(mEntries.size(), 1)));
    if (workers == 1) {
        for (int i = 0; i < mEntries.size(); ++i) {
            std::optional<Stop> stop = beforeEntry(i);
            if (!stop)
                stop = handle(mEntries.at(i));
            if (stop)
                return stop->exitStatus;
        }
        return finish();
    }
    std::vector<std::thread> threads;
    for (int worker = 0; worker < workers; ++worker)
        threads.emplace_back([this, worker, workers, &handle] { handleShare(worker, workers, handle); });
    for (std::thread &thread : threads)
        thread.join();
    return mStop ? mStop->exitStatus : finish();
}

void SessionRun::handleShare(int worker, int workers, const EntryHandler &handle)
{
    for (const ListEntry &entry : std::as_const(mEntries)) {
        // Shared by the hash of the line, so one item never meets two threads.
        if (qHash(entry.text) % uint(workers) != uint(worker))
            continue;
        if (mStopping)
            return;
        std::optional<Stop> stop = cancelRequested() ? std::optional(Stop{0}) : handle(entry);
        if (stop) {
            QMutexLocker locker(&mStopLock);
            if (!mStop)
                mStop = stop;
            mStopping = true;
            return;
        }
    }
}

std::optional<SessionRun::Stop> SessionRun::beforeEntry(int index)
{
    if (const std::optional<int> status = mScenario.stopBefore(index))
        return Stop{*status};
    if (cancelRequested())
        return Stop{0};
    return std::nullopt;
}

bool SessionRun::cancelRequested()
{
    return mControl.cancelRequested();
}

bool SessionRun::failedByScenario(const QString &entry)
{
    const auto failure = mScenario.failFiles.constFind(entry);
    if (failure == mScenario.failFiles.cend())
        return false;
    mReport.fileError(entry, failure.value());
    return true;
}

int SessionRun::finish()
{
    if (std::optional<Stop> stop = beforeEntry(int(mEntries.size())))
        return stop->exitStatus;
    return mScenario.exitCode.value_or(0);
}

SessionRun::Stop SessionRun::fatal(const QString &message)
{
    mReport.error(message);
    return Stop{kFatalStatus};
}

SessionRun::Stop SessionRun::driveFull()
{
    return fatal(QStringLiteral("txruvo error: error in file write (No space left on device)"));
}

std::optional<SessionRun::Stop> SessionRun::copyFailed(const QString &entry, const FileCopier &copier)
{
    switch (copier.failure()) {
    case FileCopier::Failure::DriveFull:
        return driveFull();
    case FileCopier::Failure::Cancelled:
        return Stop{0};
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
        if (sinceProgress->elapsed() >= kProgressIntervalMs && done < file.size) {
            sinceProgress->restart();
            partial = file;
            partial->offset = done;
            partial->percent = int(done * 100 / file.size);
        }
        mReport.copied(done - *reported, partial ? &*partial : nullptr, kind);
        *reported = done;
        return !cancelRequested();
    };
}
