#include "SessionRun.h"

#include "Credentials.h"
#include "Posix.h"

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

// Line breaks would cut the error line in two for the client's reader.
QString oneLine(QString text)
{
    return text.replace('\n', '?').replace('\r', '?');
}

}  // namespace

SessionRun::SessionRun(const CommandLine &commandLine, const Scenario &scenario)
    : mCommandLine(commandLine)
    , mScenario(scenario)
    , mOut(STDOUT_FILENO)
    , mErr(STDERR_FILENO)
    , mControl(commandLine.value(QStringLiteral("--chk-cancel")), commandLine.value(QStringLiteral("--bw-file")))
    , mDataRoot(commandLine.value(QStringLiteral("--portable-dest")))
    , mDriveBudget(scenario.driveCapacity)
{
    mClock.start();
}

std::optional<SessionRun::Stop> SessionRun::prepare()
{
    if (!mCommandLine.has(kOutputOption) || !mCommandLine.has(kErrorOption)) {
        std::fprintf(stderr, "txruvo error: invalid path (a session needs --o= and --e= files)\n");
        return Stop{kMalformedStatus};
    }
    QString error;
    for (auto [writer, option] : {std::pair{&mOut, kOutputOption}, std::pair{&mErr, kErrorOption}}) {
        if (!writer->openFile(mCommandLine.value(option), &error)) {
            std::fprintf(stderr, "txruvo error: invalid path (%s: %s)\n", qPrintable(mCommandLine.value(option)),
                         qPrintable(error));
            return Stop{kMalformedStatus};
        }
    }
    mOut.distortAs(&mScenario);
    if (!mScenario.errorText.isEmpty())
        mErr.writeLine(mScenario.errorText);

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
    Credentials credentials(mCommandLine, mScenario);
    switch (credentials.check()) {
    case Credentials::Verdict::Accepted:
        return std::nullopt;
    case Credentials::Verdict::PasswordMismatch:
        return fatal(QStringLiteral("@ERROR: password mismatch (%1)").arg(credentials.failure()));
    case Credentials::Verdict::KeyMismatch:
        return fatal(QStringLiteral("encryption verification failed (%1)").arg(credentials.failure()));
    }
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
            QMutexLocker locker(&mLock);
            if (!mStop)
                mStop = stop;
            mStopping = true;
            return;
        }
    }
}

std::optional<SessionRun::Stop> SessionRun::beforeEntry(int index)
{
    if (mScenario.stopMode != Scenario::StopMode::None && index == mScenario.stopAfterFiles) {
        switch (mScenario.stopMode) {
        case Scenario::StopMode::Crash:
            std::abort();
        case Scenario::StopMode::Hang:
            for (;;)
                ::pause();
        case Scenario::StopMode::Exit:
        case Scenario::StopMode::None:
            return Stop{mScenario.exitCode.value_or(kFatalStatus)};
        }
    }
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
    fileError(entry, failure.value());
    return true;
}

int SessionRun::finish()
{
    if (std::optional<Stop> stop = beforeEntry(int(mEntries.size())))
        return stop->exitStatus;
    return mScenario.exitCode.value_or(0);
}

void SessionRun::fileError(const QString &path, const QString &reason)
{
    QMutexLocker locker(&mLock);
    mErr.writeLine(QStringLiteral("IOERROR: [%1], : %2").arg(oneLine(path), reason));
}

void SessionRun::fileError(const QString &path, int error)
{
    // The client counts a file once only when the reason holds a phrase it
    // knows; other system errors are marked as the engine's file I/O errors.
    static const QStringList kKnownReasons = {QStringLiteral("Permission denied"),
                                              QStringLiteral("No such file or directory"),
                                              QStringLiteral("Operation not permitted")};
    const QString reason = Posix::errorText(error);
    if (kKnownReasons.contains(reason))
        fileError(path, reason);
    else
        fileError(path, QStringLiteral("%1 (txruvo error in file IO)").arg(reason));
}

SessionRun::Stop SessionRun::fatal(const QString &message)
{
    QMutexLocker locker(&mLock);
    mErr.writeLine(oneLine(message));
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
        fileError(entry, copier.error());
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
        {
            QMutexLocker locker(&mLock);
            mTransferred += done - *reported;
            *reported = done;
            if (sinceProgress->elapsed() >= kProgressIntervalMs && done < file.size) {
                sinceProgress->restart();
                ProgressLine partial = file;
                partial.offset = done;
                partial.percent = int(done * 100 / file.size);
                writeProgress(partial, kind);
            }
        }
        return !cancelRequested();
    };
}

void SessionRun::progress(const ProgressLine &line, ProgressLine::Kind kind, quint64 skippedBytes)
{
    QMutexLocker locker(&mLock);
    mSkipped += skippedBytes;
    writeProgress(line, kind);
}

void SessionRun::writeProgress(const ProgressLine &completed, ProgressLine::Kind kind)
{
    ProgressLine line = completed;
    line.transferred = mTransferred;
    line.skipped = mSkipped;
    line.runTotal = mTransferred + mSkipped;
    const double seconds = std::max<qint64>(mClock.elapsed(), 1) / 1000.0;
    line.rate = formatRate(double(mTransferred) / seconds);
    const auto write = [&](const ProgressLine &row) {
        mOut.writeLine(mScenario.lineForm == Scenario::LineForm::Bracket ? row.toBracketRow(kind, mScenario.macRomanNames)
                                                                         : row.toElement(kind, mScenario.macRomanNames));
    };
    if (line.percent == 100) {
        // Very long output on request: in-progress lines ahead of the completion.
        for (int i = 1; i <= mScenario.progressLinesPerFile; ++i) {
            ProgressLine partial = line;
            partial.percent = i * 100 / (mScenario.progressLinesPerFile + 1);
            partial.offset = line.size * quint64(partial.percent) / 100;
            write(partial);
        }
    }
    write(line);
}
