#include "txruvo/RunReport.h"

#include "txruvo/Posix.h"
#include "txruvo/Scenario.h"

#include <QStringList>

#include <algorithm>
#include <unistd.h>

namespace {

// Room for the run totals between the two parts of a line.
constexpr qsizetype kTotalsBytes = 128;

// Line breaks would cut the line in two for the client's reader.
QString oneLine(QString text) { return text.replace('\n', '?').replace('\r', '?'); }

// The client splits an error line at its first ", :".
QString withoutSeparator(QString text) { return text.replace(QLatin1String(", :"), QLatin1String(",?:")); }

}  // namespace

RunReport::RunReport(const Scenario &scenario, const EngineTimings &timings)
    : mScenario(scenario)
    , mLineHold(timings.lineHold)
    , mOut(STDOUT_FILENO)
    , mErr(STDERR_FILENO)
{
    mClock.start();
}

bool RunReport::open(const QString &outputPath, const QString &errorPath, QString *error)
{
    for (auto [writer, path] : {std::pair{&mOut, outputPath}, std::pair{&mErr, errorPath}}) {
        QString reason;
        if (!writer->openFile(path, &reason)) {
            *error = path + QStringLiteral(": ") + reason;
            return false;
        }
    }
    mOut.distortAs(&mScenario);
    // A scenario shapes every line as it is written; without one lines may wait a little.
    if (!mScenario.active)
        mOut.holdLines(mLineHold);
    return true;
}

void RunReport::error(const QString &message)
{
    QMutexLocker locker(&mLock);
    mErr.writeLine(oneLine(message));
}

void RunReport::listing(const QString &line)
{
    QMutexLocker locker(&mLock);
    mOut.writeLine(line);
}

void RunReport::fileError(const QString &path, const QString &reason)
{
    error(QStringLiteral("IOERROR: [%1], : %2").arg(withoutSeparator(path), withoutSeparator(reason)));
}

void RunReport::fileError(const QString &path, int error)
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

void RunReport::progress(const ProgressLine &line, ProgressLine::Kind kind, quint64 skippedBytes)
{
    if (writesEachLine()) {
        QMutexLocker locker(&mLock);
        mSkipped += skippedBytes;
        writeProgress(line, kind);
        return;
    }
    // The line is made before the lock, so threads seldom wait for it.
    PendingLines lines;
    lines.add(line, kind, skippedBytes);
    progress(lines);
}

void RunReport::progress(PendingLines &lines)
{
    if (lines.isEmpty())
        return;
    QByteArray text;
    text.reserve(lines.count() * (kTotalsBytes + 256));
    QMutexLocker locker(&mLock);
    for (qsizetype i = 0; i < lines.count(); ++i) {
        const PendingLines::Line line = lines.at(i);
        mSkipped += line.skippedBytes;
        text += line.head;
        ProgressLine::appendTotals(text,
                                   {mTransferred, mTransferred + mSkipped, mSkipped, line.percent, currentRate()});
        text += line.tail;
        text += '\n';
    }
    mOut.writeHeldLines(text, lines.firstAddedAt());
    locker.unlock();
    lines.clear();
}

bool RunReport::writesEachLine() const { return mScenario.active; }

void RunReport::copied(quint64 bytes, const ProgressLine *line, ProgressLine::Kind kind)
{
    QMutexLocker locker(&mLock);
    mTransferred += bytes;
    if (line)
        writeProgress(*line, kind);
}

void RunReport::flushIfDue()
{
    QMutexLocker locker(&mLock);
    if (mOut.isDue())
        mOut.flush();
}

void RunReport::flush()
{
    QMutexLocker locker(&mLock);
    mOut.flush();
}

ProgressLine RunReport::withTotals(const ProgressLine &fileLine) const
{
    ProgressLine line = fileLine;
    line.transferred = mTransferred;
    line.skipped = mSkipped;
    line.runTotal = mTransferred + mSkipped;
    line.rate = QString::fromLatin1(currentRate());
    return line;
}

QByteArray RunReport::currentRate() const
{
    // Formatted again only when it can have changed: most lines of a run
    // that finds its files unchanged carry the same rate.
    const qint64 elapsedMs = std::max<qint64>(mClock.elapsed(), 1);
    if (mRate.isNull() || mRateTransferred != mTransferred || (mTransferred > 0 && mRateElapsedMs != elapsedMs)) {
        mRate = formatRate(double(mTransferred) * 1000.0 / double(elapsedMs)).toLatin1();
        mRateTransferred = mTransferred;
        mRateElapsedMs = elapsedMs;
    }
    return mRate;
}

void RunReport::writeProgress(const ProgressLine &fileLine, ProgressLine::Kind kind)
{
    const ProgressLine line = withTotals(fileLine);
    const auto write = [&](const ProgressLine &row) {
        mOut.writeLine(mScenario.lineForm == Scenario::LineForm::Bracket
                           ? row.toBracketRow(kind, mScenario.macRomanNames)
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
