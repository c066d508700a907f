#include "engine/command/TarnixProcessLib.h"

#include "common/utility/QLUtility.h"
#include "engine/command/EngineStartFailure.h"
#include "engine/command/TarnixProcessLibController.h"
#include "platform/ChildLifetime.h"

#include <QDebug>
#include <QPointer>

#include <csignal>
#include <utility>

TarnixProcessLib::TarnixProcessLib(TarnixProcessLibController *controller, QObject *parent,
                                   TarnixProcessLibTimings timings)
    : QObject(parent)
    , mController(controller)
    , mTimings(timings)
{
    connect(&mDataReadTimer, &QTimer::timeout, this, &TarnixProcessLib::poll);
    mSliceTimer.setSingleShot(true);
    mSliceTimer.setInterval(0);
    connect(&mSliceTimer, &QTimer::timeout, this, &TarnixProcessLib::readSlice);
}

TarnixProcessLib::~TarnixProcessLib()
{
    if (mTask) {
        mTask->disconnect(this);
        stopProcess();
        mTask->waitForFinished();
    }
}

bool TarnixProcessLib::startProcess()
{
    const bool engineRuns = mStage == Stage::Running;
    if (engineRuns || mWaitingStart) {
        qWarning() << (engineRuns ? "an engine run is in progress" : "a start already waits for the previous run")
                   << "; the new start is refused";
        mArguments = {};
        return false;
    }
    if (mStage != Stage::Idle) {
        mWaitingStart = takeSetup();
        return true;
    }
    begin(takeSetup());
    return true;
}

TarnixProcessLib::RunSetup TarnixProcessLib::takeSetup()
{
    return {std::exchange(mArguments, {}), mOutDataFilePath, mErrorDataFilePath};
}

void TarnixProcessLib::begin(RunSetup setup)
{
    const quint64 run = ++mRunNumber;
    mRun = std::move(setup);
    mStage = Stage::Running;
    mIsProcessingStage = true;
    cumulativeSizeForSession = 0;
    streamSting.clear();
    mOutputDecoder = {};
    mErrorDecoder = {};
    mExitStatus = 0;

    if (const QString refusal = EngineStartFailure::refusal(mRun.arguments); !refusal.isEmpty()) {
        QTimer::singleShot(0, this, [this, run, refusal] { launchFailed(run, refusal); });
        return;
    }

    mDataReadTimer.start(mTimings.poll);
    mTask = std::make_unique<QProcess>();
    ChildLifetime::endWithThisProcess(*mTask);
    mTask->setProgram(mRun.arguments.arguments.value(0));
    mTask->setArguments(mRun.arguments.arguments.mid(1));
    // The engine's results are in its files; its standard streams are discarded
    // so a chatty engine never blocks on a full pipe.
    mTask->setStandardInputFile(QProcess::nullDevice());
    mTask->setStandardOutputFile(QProcess::nullDevice());
    mTask->setStandardErrorFile(QProcess::nullDevice());
    if (!mWorkingDirectory.isEmpty())
        mTask->setWorkingDirectory(mWorkingDirectory);
    if (!mEnvironment.isEmpty())
        mTask->setProcessEnvironment(mEnvironment);
    QProcess *task = mTask.get();
    connect(task, &QProcess::finished, this, [this, run] { engineExited(run); });
    connect(task, &QProcess::errorOccurred, this, [this, run, task](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        const QString failure = EngineStartFailure::launchFailure(task->program(), task->errorString());
        QTimer::singleShot(0, this, [this, run, failure] { launchFailed(run, failure); });
    });
    mTask->start();
}

void TarnixProcessLib::engineExited(quint64 run)
{
    if (run != mRunNumber || mStage != Stage::Running)
        return;
    mExitStatus = mTask->exitCode();
    endEngine();
    // Precise: a coarse timer may fire up to 5% early, and a session counts
    // these waits as time in which its engine no longer ran.
    QTimer::singleShot(mTimings.finishGrace, Qt::PreciseTimer, this, [this, run] { beginLastRead(run); });
}

void TarnixProcessLib::launchFailed(quint64 run, const QString &failure)
{
    if (run != mRunNumber || mStage != Stage::Running)
        return;
    mExitStatus = -1;
    endEngine();
    if (mController)
        mController->getError(failure, this);
    beginLastRead(run);
}

void TarnixProcessLib::endEngine()
{
    mStage = Stage::Grace;
    mDataReadTimer.stop();
    // The engine is gone, and with it the only reader of the credential files.
    mRun.arguments = {};
}

void TarnixProcessLib::beginLastRead(quint64 run)
{
    if (run != mRunNumber || mStage != Stage::Grace)
        return;
    mStage = Stage::LastRead;
    // A read already under way goes on to the end and then completes the run.
    if (!mReading)
        poll();
}

void TarnixProcessLib::poll()
{
    if (mReading)
        return;
    mReading = true;
    readSlice();
}

QString TarnixProcessLib::readNew(QFile &file, const QString &path, ChildOutputStreamDecoder &decoder, bool *more)
{
    // A file the engine has not made yet is tried again on the next tick.
    if (!file.isOpen()) {
        file.setFileName(path);
        if (path.isEmpty() || !file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
            return {};
    }
    const QByteArray bytes = file.read(kReadSliceBytes);
    if (bytes.size() == kReadSliceBytes)
        *more = true;
    return decoder.decode(bytes);
}

void TarnixProcessLib::readSlice()
{
    bool more = false;
    const QString errorText = readNew(mFileErrorHandle, mRun.errorFile, mErrorDecoder, &more);
    deliver(errorText, readNew(mFileHandle, mRun.outputFile, mOutputDecoder, &more));
    if (more) {
        mSliceTimer.start();
        return;
    }
    mReading = false;
    if (mStage == Stage::LastRead)
        complete();
}

void TarnixProcessLib::deliver(const QString &errorText, QString outputText)
{
    if (!errorText.isEmpty() && mController)
        mController->getError(errorText, this);

    // The whole lines go on; an unfinished last line waits for the rest of it.
    // A read is up to 64 KiB: it is cut to its lines in place.
    QString lines = streamSting.isEmpty() ? std::move(outputText) : streamSting + outputText;
    const qsizetype lastBreak = lines.lastIndexOf(u'\n');
    streamSting = lines.sliced(lastBreak + 1);
    if (lastBreak < 0)
        return;
    lines.truncate(lastBreak + 1);
    if (mController)
        mController->updateProgress(lines, this);
}

void TarnixProcessLib::complete()
{
    // A character the engine left cut for good is read as it stands.
    deliver(mErrorDecoder.flush(), mOutputDecoder.flush());
    // The last line may lack its line break; it is a line all the same.
    if (!streamSting.isEmpty()) {
        const QString lastLine = streamSting + u'\n';
        streamSting.clear();
        if (mController)
            mController->updateProgress(lastLine, this);
    }
    mFileHandle.close();
    mFileErrorHandle.close();

    mStage = Stage::Notice;
    mIsProcessingStage = false;
    const quint64 run = mRunNumber;
    QTimer::singleShot(mTimings.finishNotice, Qt::PreciseTimer, this, [this, run] { sendNotice(run); });
    if (mTask) {
        mTask->disconnect(this);
        mTask.release()->deleteLater();
    }
    QLUtility::removeFile(mRun.outputFile);
    QLUtility::removeFile(mRun.errorFile);
}

void TarnixProcessLib::sendNotice(quint64 run)
{
    if (run != mRunNumber || mStage != Stage::Notice)
        return;
    mStage = Stage::Idle;
    const QPointer<TarnixProcessLib> alive(this);
    if (mController)
        mController->processFinishedOfEngine(this);
    // The controller may have let go of this wrapper meanwhile.
    if (alive && mWaitingStart) {
        RunSetup setup = std::move(*mWaitingStart);
        mWaitingStart.reset();
        begin(std::move(setup));
    }
}

bool TarnixProcessLib::isRunning() const
{
    return mStage != Stage::Idle || mWaitingStart.has_value() || (mTask && mTask->state() != QProcess::NotRunning);
}

void TarnixProcessLib::stopProcess()
{
    // Only our own engine and what it started, and only while it runs: a
    // recorded process number may already belong to another program.
    if (mTask)
        ChildLifetime::signalGroup(*mTask, SIGKILL);
}

int TarnixProcessLib::terminationStatus() const
{
    return mTask && mTask->state() != QProcess::NotRunning ? 0 : mExitStatus;
}
