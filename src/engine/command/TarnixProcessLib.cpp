#include "engine/command/TarnixProcessLib.h"

#include "engine/command/EngineStartFailure.h"
#include "common/utility/QLUtility.h"
#include "engine/command/TarnixProcessLibController.h"
#include "platform/ChildLifetime.h"

#include <QDebug>

TarnixProcessLib::TarnixProcessLib(TarnixProcessLibController *controller, QObject *parent,
                                   TarnixProcessLibTimings timings)
    : QObject(parent), mController(controller), mTimings(timings)
{
    connect(&mDataReadTimer, &QTimer::timeout, this, &TarnixProcessLib::poll);
}

TarnixProcessLib::~TarnixProcessLib()
{
    if (mTask) {
        mTask->disconnect(this);
        stopProcess();
        mTask->waitForFinished();
    }
}

void TarnixProcessLib::startProcess()
{
    if (mIsProcessingStage) {
        qWarning() << "an engine run is already in progress; the new start is ignored";
        return;
    }
    mIsProcessingStage = true;
    cumulativeSizeForSession = 0;
    streamSting.clear();
    mOutputDecoder = {};
    mErrorDecoder = {};
    mExitStatus = 0;

    if (const QString refusal = EngineStartFailure::refusal(mArguments); !refusal.isEmpty()) {
        QTimer::singleShot(0, this, [this, refusal] { launchFailed(refusal); });
        return;
    }

    mDataReadTimer.start(mTimings.poll);
    mTask = std::make_unique<QProcess>();
    ChildLifetime::endWithThisProcess(*mTask);
    mTask->setProgram(mArguments.arguments.value(0));
    mTask->setArguments(mArguments.arguments.mid(1));
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
    connect(task, &QProcess::finished, this, &TarnixProcessLib::engineExited);
    connect(task, &QProcess::errorOccurred, this, [this, task](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        const QString failure = EngineStartFailure::launchFailure(task->program(), task->errorString());
        QTimer::singleShot(0, this, [this, failure] { launchFailed(failure); });
    });
    mTask->start();
}

void TarnixProcessLib::engineExited()
{
    mDataReadTimer.stop();
    mExitStatus = mTask->exitCode();
    QTimer::singleShot(mTimings.finishGrace, this, &TarnixProcessLib::finish);
}

void TarnixProcessLib::launchFailed(const QString &failure)
{
    mDataReadTimer.stop();
    mExitStatus = -1;
    if (mController)
        mController->getError(failure, this);
    finish();
}

QString TarnixProcessLib::readNew(QFile &file, const QString &path, ChildOutputStreamDecoder &decoder)
{
    // A file the engine has not made yet is tried again on the next tick.
    if (!file.isOpen()) {
        file.setFileName(path);
        if (path.isEmpty() || !file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
            return {};
    }
    return decoder.decode(file.readAll());
}

void TarnixProcessLib::poll()
{
    deliver(readNew(mFileErrorHandle, mErrorDataFilePath, mErrorDecoder),
            readNew(mFileHandle, mOutDataFilePath, mOutputDecoder));
}

void TarnixProcessLib::deliver(const QString &errorText, const QString &outputText)
{
    if (!errorText.isEmpty() && mController)
        mController->getError(errorText, this);

    streamSting += outputText;
    const qsizetype lastBreak = streamSting.lastIndexOf(u'\n');
    if (lastBreak < 0)
        return;
    const QString lines = streamSting.left(lastBreak + 1);
    streamSting.remove(0, lastBreak + 1);
    if (mController)
        mController->updateProgress(lines, this);
}

void TarnixProcessLib::finish()
{
    poll();
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

    QTimer::singleShot(mTimings.finishNotice, this, [this] {
        if (mController)
            mController->processFinishedOfEngine(this);
    });
    mIsProcessingStage = false;
    mArguments = {};
    if (mTask) {
        mTask->disconnect(this);
        mTask.release()->deleteLater();
    }
    QLUtility::removeFile(mOutDataFilePath);
    QLUtility::removeFile(mErrorDataFilePath);
}

bool TarnixProcessLib::isRunning() const
{
    return mIsProcessingStage || (mTask && mTask->state() != QProcess::NotRunning);
}

void TarnixProcessLib::stopProcess()
{
    // Only our own engine, and only while it runs: a recorded process number
    // may already belong to another program.
    if (mTask && mTask->state() != QProcess::NotRunning)
        mTask->kill();
}

int TarnixProcessLib::terminationStatus() const
{
    return mTask && mTask->state() != QProcess::NotRunning ? 0 : mExitStatus;
}
