#include "engine/command/TXCommandExcecuter.h"

#include "common/utility/QLUtility.h"
#include "engine/command/EngineStartFailure.h"
#include "engine/command/TXCommandDelegate.h"
#include "platform/ChildLifetime.h"

#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QThread>
#include <QTimer>

#include <csignal>

namespace {

// A spill file's name: the local time to the millisecond, then a count when
// two spills fall in the same millisecond, so no spill overwrites another.
QString newSpillFilePath(const QString &folder)
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH-mm-ss-zzz"));
    QString path = folder + u'/' + stamp;
    for (int count = 2; QFile::exists(path); ++count)
        path = folder + u'/' + stamp + QStringLiteral("-%1").arg(count, 3, 10, QLatin1Char('0'));
    return path;
}

}  // namespace

TXCommandExcecuter::TXCommandExcecuter(QObject *parent, TXCommandExcecuterTimings timings)
    : QObject(parent)
    , mTimings(timings)
{}

TXCommandExcecuter::~TXCommandExcecuter() { retireChild(); }

void TXCommandExcecuter::setListingPath(const QString &folder)
{
    if (!folder.isEmpty())
        mListingFolderPath = folder;
}

void TXCommandExcecuter::performAsynchronousExecutionFor(int executionType, const QString &spillFolder)
{
    retireChild();
    mExecuterType = executionType;
    setListingPath(spillFolder);
    mOutputCount = 0;
    mOutStr.clear();
    mLastLineBreak = -1;
    mSpillFailed = false;
    mErrorStr.clear();
    mOutputDecoder = {};
    mErrorDecoder = {};
    mRunEnded = false;
    const quint64 run = ++mRunNumber;

    QString refusal = EngineStartFailure::refusal(mArguments);
    // Without a folder the spill files would land wherever "" leads.
    if (refusal.isEmpty() && spills() && mListingFolderPath.isEmpty())
        refusal = EngineStartFailure::missing(QStringLiteral("the spill folder"));
    if (!refusal.isEmpty()) {
        // The caller is told after this call returns, as for any run.
        QTimer::singleShot(0, this, [this, run, refusal] { endRun(run, refusal); });
        return;
    }

    mTask = std::make_unique<QProcess>();
    ChildLifetime::endWithThisProcess(*mTask);
    mTask->setProgram(mCommandString);
    mTask->setArguments(mArguments.arguments);
    mTask->setInputChannelMode(QProcess::ForwardedInputChannel);
    QProcess *task = mTask.get();
    connect(task, &QProcess::readyReadStandardOutput, this, [this] { readChunk(Stream::Output); });
    connect(task, &QProcess::readyReadStandardError, this, [this] { readChunk(Stream::Error); });
    connect(task, &QProcess::finished, this, [this, run] { childFinished(run); });
    connect(task, &QProcess::errorOccurred, this, [this, run, task](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        const QString failure = EngineStartFailure::launchFailure(mCommandString, task->errorString());
        QTimer::singleShot(0, this, [this, run, failure] { endRun(run, failure); });
    });
    mTask->start();
}

void TXCommandExcecuter::readChunk(Stream stream)
{
    const bool output = stream == Stream::Output;
    const QByteArray bytes = output ? mTask->readAllStandardOutput() : mTask->readAllStandardError();
    if (bytes.isEmpty())
        return;
    if (output) {
        appendOutput(mOutputDecoder.decode(bytes));
    } else {
        mErrorStr += mErrorDecoder.decode(bytes);
    }

    ++mOutputCount;
    const int every = output ? mTimings.outputChunksPerPause : mTimings.errorChunksPerPause;
    if (every > 0 && mOutputCount % every == 0)
        QThread::msleep(std::chrono::milliseconds(output ? mTimings.outputPause : mTimings.errorPause).count());
}

void TXCommandExcecuter::appendOutput(const QString &text)
{
    const qsizetype start = mOutStr.size();
    mOutStr += text;
    if (!spills() || mSpillFailed)
        return;
    // Only the new text is searched, so a line of any length costs its length once.
    if (const qsizetype lineBreak = text.lastIndexOf(u'\n'); lineBreak >= 0)
        mLastLineBreak = start + lineBreak;
    // A spill needs a complete line to hand over, or an element line that
    // only lacks its line break; anything else waits for more text.
    if (mOutStr.size() >= kSpillCharacters && (mLastLineBreak >= 0 || endsWithElement(mOutStr)))
        spill();
}

bool TXCommandExcecuter::endsWithElement(const QString &text) { return text.endsWith(QStringLiteral("/>")); }

void TXCommandExcecuter::spill()
{
    QString incomplete = mOutStr.mid(mLastLineBreak + 1);
    // A complete element line merely lacks its line break; it goes with the next file.
    if (endsWithElement(incomplete))
        incomplete += u'\n';

    if (mLastLineBreak >= 0) {
        QDir().mkpath(mListingFolderPath);
        QSaveFile file(newSpillFilePath(mListingFolderPath));
        if (!file.open(QIODevice::WriteOnly) || file.write(mOutStr.left(mLastLineBreak).toUtf8()) < 0 ||
            !file.commit()) {
            // Keep the text: it reaches the delegate through outStr instead.
            qWarning().noquote() << "could not write engine output to" << file.fileName();
            mSpillFailed = true;
            return;
        }
    }
    mOutStr = incomplete;
    mLastLineBreak = incomplete.endsWith(u'\n') ? incomplete.size() - 1 : -1;
    if (mDelegate)
        mDelegate->readOutPut(this);
}

void TXCommandExcecuter::childFinished(quint64 run)
{
    // What is left is not spilled: the delegate reads it from outStr.
    mOutStr += mOutputDecoder.decode(mTask->readAllStandardOutput()) + mOutputDecoder.flush();
    mErrorStr += mErrorDecoder.decode(mTask->readAllStandardError()) + mErrorDecoder.flush();
    // Told from the event loop, so a delegate may dispose of this runner.
    QTimer::singleShot(0, this, [this, run] { endRun(run); });
}

void TXCommandExcecuter::endRun(quint64 run, const QString &failure)
{
    // A late notice of a run that a newer one replaced is dropped.
    if (run != mRunNumber || mRunEnded)
        return;
    mRunEnded = true;
    mErrorStr += failure;
    mArguments.secrets.reset();
    if (mDelegate)
        mDelegate->ruvoTaskFinished(this);
}

void TXCommandExcecuter::retireChild()
{
    if (!mTask)
        return;
    mTask->disconnect(this);
    if (mTask->state() != QProcess::NotRunning) {
        ChildLifetime::signalGroup(*mTask, SIGKILL);
        mTask->waitForFinished();
    }
    mTask.reset();
}

void TXCommandExcecuter::executeThumbnailBackup(QString *errorText)
{
    retireChild();
    QString failure = EngineStartFailure::refusal(mArguments);
    QString abnormalEnd;
    if (failure.isEmpty()) {
        QProcess task;
        ChildLifetime::endWithThisProcess(task);
        task.setProgram(mCommandString);
        task.setArguments(mArguments.arguments);
        // The engine writes its results to the files its arguments name.
        task.setStandardOutputFile(QProcess::nullDevice());
        task.setStandardErrorFile(QProcess::nullDevice());
        task.start();
        if (task.waitForStarted(-1)) {
            setSynchronousChild(pid_t(task.processId()));
            task.waitForFinished(-1);
            // An engine that was stopped or died wrote no verdict: that is no success.
            if (task.exitStatus() != QProcess::NormalExit || task.exitCode() != 0)
                abnormalEnd = EngineStartFailure::abnormalEnd(mCommandString, task.exitStatus() == QProcess::CrashExit,
                                                              task.exitCode());
        } else {
            failure = EngineStartFailure::launchFailure(mCommandString, task.errorString());
        }
    }
    setSynchronousChild(0);
    mArguments.secrets.reset();

    const QString errorFile = mDelegate ? mDelegate->errorFilePath() : QString();
    QString engineError;
    if (QFile file(errorFile); !errorFile.isEmpty() && file.open(QIODevice::ReadOnly))
        engineError = QString::fromUtf8(file.readAll());
    if (errorText)
        *errorText = !failure.isEmpty()       ? failure
                     : !engineError.isEmpty() ? engineError
                     : !abnormalEnd.isEmpty() ? abnormalEnd
                                              : QString();
    if (mDelegate) {
        QLUtility::removeFile(errorFile);
        QLUtility::removeFile(mDelegate->outFilePath());
    }
}

void TXCommandExcecuter::setSynchronousChild(pid_t child)
{
    std::lock_guard lock(mSynchronousChildLock);
    mSynchronousChild = child;
    // A stop that came before the child was known ends it now; the run's end clears it.
    if (child > 0 && mSynchronousStop)
        ::kill(-child, SIGKILL);
    if (child == 0)
        mSynchronousStop = false;
}

void TXCommandExcecuter::stopProcess()
{
    // Only our own child and what it started, and only while it runs: a
    // recorded process number may already belong to another program.
    if (mTask)
        ChildLifetime::signalGroup(*mTask, SIGKILL);
    if (mTask)
        return;
    // A synchronous run's child leads its own process group until it is reaped.
    std::lock_guard lock(mSynchronousChildLock);
    mSynchronousStop = true;
    if (mSynchronousChild > 0)
        ::kill(-mSynchronousChild, SIGKILL);
}

void TXCommandExcecuter::pause(bool suspend)
{
    if (mTask && mTask->state() == QProcess::Running)
        ChildLifetime::signalGroup(*mTask, suspend ? SIGSTOP : SIGCONT);
}

bool TXCommandExcecuter::isRunning() const { return mTask && mTask->state() != QProcess::NotRunning; }
