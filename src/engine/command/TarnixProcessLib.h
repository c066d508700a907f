#pragma once

#include "platform/ChildOutputStreamDecoder.h"
#include "engine/command/EngineArguments.h"

#include <QFile>
#include <QObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QTimer>

#include <chrono>
#include <memory>

class TarnixProcessLibController;

// The waits of an engine run; tests pass shorter ones.
struct TarnixProcessLibTimings {
    std::chrono::milliseconds poll{1000};          // between two reads of the files
    std::chrono::milliseconds finishGrace{2000};   // from the engine's exit to the last read
    std::chrono::milliseconds finishNotice{1000};  // from the last read to processFinishedOfEngine
};

// Runs the engine for a long operation (backup and restore sessions, version
// restore, index rebuild). The engine writes its progress lines and errors to
// the files its "--o=" and "--e=" arguments name; a main-thread timer polls
// both and hands new error text and new complete lines to the controller.
// After the engine exits the files are read to their end and removed, and the
// controller hears processFinishedOfEngine once. One run at a time; reusable.
class TarnixProcessLib : public QObject
{
    Q_OBJECT

public:
    explicit TarnixProcessLib(TarnixProcessLibController *controller, QObject *parent = nullptr,
                              TarnixProcessLibTimings timings = {});
    ~TarnixProcessLib() override;

    // Element 0 is the executable, the rest its arguments.
    void setArguments(EngineArguments arguments) { mArguments = std::move(arguments); }
    QStringList arguments() const { return mArguments.arguments; }
    void setEnvironment(const QProcessEnvironment &environment) { mEnvironment = environment; }
    void setWorkingDirectory(const QString &folder) { mWorkingDirectory = folder; }
    // The output and error files, the same paths as the "--o=" and "--e=" arguments.
    void setOutDataText(const QString &path) { mOutDataFilePath = path; }
    void setErrorDataText(const QString &path) { mErrorDataFilePath = path; }

    // Starts a run; ignored while one is in progress. A vector with a missing
    // value, or an engine that cannot start, is reported through getError and
    // the run finishes as usual.
    void startProcess();
    // The engine runs, or its run has not finished yet.
    bool isRunning() const;
    // Kills our engine while it runs; the run still finishes as usual.
    void stopProcess();
    // The session's name for the same stop at the end of a restore.
    void stopProcessForRestore() { stopProcess(); }
    // 0 while the engine runs, else its exit status.
    int terminationStatus() const;

    bool IsOperationIsRunning() const { return mIsProcessingStage; }
    void SetIsOperationIsRunning(bool running) { mIsProcessingStage = running; }

    // Byte counts the session driver and the version restore keep per engine.
    double cumulativeSizeForSession = 0;
    double cumulativeSizeTillPrevSession = 0;
    double cumalativeIncrimaentalSkipSize = 0;
    double cumulativeIncrimaentalSkipSizeTillPrevSession = 0;

    QString mParentFoldePath() const { return mParentFolderPath; }
    void setMParentFoldePath(const QString &path) { mParentFolderPath = path; }

private:
    void poll();
    void deliver(const QString &errorText, const QString &outputText);
    QString readNew(QFile &file, const QString &path, ChildOutputStreamDecoder &decoder);
    void engineExited();
    void launchFailed(const QString &failure);
    void finish();

    TarnixProcessLibController *mController;
    EngineArguments mArguments;
    QProcessEnvironment mEnvironment;
    QString mWorkingDirectory;
    QString mOutDataFilePath;
    QString mErrorDataFilePath;
    QString mParentFolderPath = QStringLiteral("");
    const TarnixProcessLibTimings mTimings;

    std::unique_ptr<QProcess> mTask;
    int mExitStatus = 0;
    bool mIsProcessingStage = false;
    QTimer mDataReadTimer;
    QFile mFileHandle;
    QFile mFileErrorHandle;
    ChildOutputStreamDecoder mOutputDecoder;
    ChildOutputStreamDecoder mErrorDecoder;
    // The text of an output line whose end has not arrived yet.
    QString streamSting;
};
