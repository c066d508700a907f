#pragma once

#include "engine/command/EngineArguments.h"
#include "platform/ChildOutputStreamDecoder.h"

#include <QFile>
#include <QObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QTimer>

#include <chrono>
#include <memory>
#include <optional>

class TarnixProcessLibController;

// The waits of an engine run; tests pass shorter ones.
struct TarnixProcessLibTimings
{
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
    // The most the wrapper reads of a file at once: the main thread hands
    // over one slice and serves its other events before the next.
    static constexpr qint64 kReadSliceBytes = 64 * 1024;

    explicit TarnixProcessLib(TarnixProcessLibController *controller, QObject *parent = nullptr,
                              TarnixProcessLibTimings timings = {});
    ~TarnixProcessLib() override;

    // The vector and files of the next start. Element 0 is the executable,
    // the rest its arguments.
    void setArguments(EngineArguments arguments) { mArguments = std::move(arguments); }
    QStringList arguments() const { return mArguments.arguments; }
    void setEnvironment(const QProcessEnvironment &environment) { mEnvironment = environment; }
    void setWorkingDirectory(const QString &folder) { mWorkingDirectory = folder; }
    // The output and error files, the same paths as the "--o=" and "--e=" arguments.
    void setOutDataText(const QString &path) { mOutDataFilePath = path; }
    void setErrorDataText(const QString &path) { mErrorDataFilePath = path; }

    // Starts a run with the vector and files set so far, which then belong to
    // it. While the previous run is still finishing (its engine has ended,
    // its last read or its notice is still to come), the new run waits and
    // begins right after that notice, so every notice belongs to its own run.
    // Refused (false, logged, the vector dropped, and nothing reported for
    // it) while an engine runs or another start already waits. A vector with
    // a missing value, or an engine that cannot start, is reported through
    // getError and the run finishes as usual.
    bool startProcess();
    // The engine runs, its run has not finished yet, or a start waits.
    bool isRunning() const;
    // Kills our engine and everything it started while it runs; the run still
    // finishes as usual.
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
    // What a start takes along: the vector (with its credential files) and the two files.
    struct RunSetup
    {
        EngineArguments arguments;
        QString outputFile;
        QString errorFile;
    };
    // Where the current run stands.
    enum class Stage
    {
        Idle,      // no run, or its notice has been sent
        Running,   // the engine runs (or is being launched)
        Grace,     // the engine has ended; the last read follows after the grace
        LastRead,  // the files are being read to their end
        Notice,    // read and removed; processFinishedOfEngine follows
    };

    RunSetup takeSetup();
    void begin(RunSetup setup);
    void engineExited(quint64 run);
    void launchFailed(quint64 run, const QString &failure);
    void endEngine();
    void beginLastRead(quint64 run);
    void poll();
    void readSlice();
    QString readNew(QFile &file, const QString &path, ChildOutputStreamDecoder &decoder, bool *more);
    void deliver(const QString &errorText, QString outputText);
    void complete();
    void sendNotice(quint64 run);

    TarnixProcessLibController *mController;
    EngineArguments mArguments;
    QProcessEnvironment mEnvironment;
    QString mWorkingDirectory;
    QString mOutDataFilePath;
    QString mErrorDataFilePath;
    QString mParentFolderPath = QStringLiteral("");
    const TarnixProcessLibTimings mTimings;

    // The current run.
    quint64 mRunNumber = 0;
    Stage mStage = Stage::Idle;
    RunSetup mRun;
    std::optional<RunSetup> mWaitingStart;
    std::unique_ptr<QProcess> mTask;
    int mExitStatus = 0;
    bool mIsProcessingStage = false;
    QTimer mDataReadTimer;
    // Set while slices are being read; the next slice follows on its own turn of the event loop.
    bool mReading = false;
    QTimer mSliceTimer;
    QFile mFileHandle;
    QFile mFileErrorHandle;
    ChildOutputStreamDecoder mOutputDecoder;
    ChildOutputStreamDecoder mErrorDecoder;
    // The text of an output line whose end has not arrived yet.
    QString streamSting;
};
