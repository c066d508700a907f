#pragma once

#include "engine/command/EngineArguments.h"
#include "platform/ChildOutputStreamDecoder.h"

#include <QObject>
#include <QProcess>
#include <QString>

#include <chrono>

#include <memory>
#include <mutex>

#include <sys/types.h>

class TXCommandDelegate;

// Runs one short engine command (delete, version list, quota, bandwidth
// test) as a child process and gathers its standard output and error on the
// thread that started it. A large output (types 1 and 2) is spilled to files
// of complete lines as it comes. A runner is reused; each run replaces the
// previous child.
// The pacing of a chatty child, which keeps the main thread responsive: a
// pause after every so many chunks read. Tests shorten the pauses.
struct TXCommandExcecuterTimings
{
    int outputChunksPerPause = 100;
    std::chrono::milliseconds outputPause{10};
    int errorChunksPerPause = 200;
    std::chrono::milliseconds errorPause{100};
};

class TXCommandExcecuter : public QObject
{
    Q_OBJECT

public:
    // Execution types: a plain run keeps its output in memory (version list,
    // quota, bandwidth test); a spilling run writes complete lines to files (delete).
    static constexpr int kPlainRun = 0;
    static constexpr int kSpillingRun = 1;
    // Output text at which a spilling run writes its complete lines to a file.
    static constexpr qsizetype kSpillCharacters = 51200;

    explicit TXCommandExcecuter(QObject *parent = nullptr, TXCommandExcecuterTimings timings = {});
    ~TXCommandExcecuter() override;

    QString commandString() const { return mCommandString; }
    void setCommandString(const QString &executable) { mCommandString = executable; }
    QStringList commandArguments() const { return mArguments.arguments; }
    // The vector without the executable, with the credential files it names.
    void setCommandArguments(EngineArguments arguments) { mArguments = std::move(arguments); }
    void setDelegate(TXCommandDelegate *delegate) { mDelegate = delegate; }
    // A folder replaces the spill folder; "" keeps the previous one.
    void setListingPath(const QString &folder);
    QString listingPath() const { return mListingFolderPath; }

    // Starts the run and returns at once. Types 1 and 2 spill complete lines
    // into the folder (or the previous one when "" is given), each time the
    // output holds a complete line and 51,200 characters. A vector with a
    // missing value, a spilling run with no folder at all, or a child that
    // cannot start, ends the run at once with the reason as error text.
    void performAsynchronousExecutionFor(int executionType, const QString &spillFolder);

    // Runs the command to its end on the calling thread and returns the text of
    // the delegate's error file, then removes the delegate's error and output
    // files. Without error text, an engine that could not start, was stopped or
    // ended with a non-zero status gives the reason; null means success.
    void executeThumbnailBackup(QString *errorText);

    // Kills our child and everything it started while it runs; an asynchronous
    // run still ends with ruvoTaskFinished. May be called from any thread for a
    // synchronous run (executeThumbnailBackup): a stop that comes before its
    // child is known ends the child as soon as it starts.
    void stopProcess();
    // Suspends (true) or resumes (false) our running child and what it started.
    void pause(bool suspend);
    bool isRunning() const;

    QString outStr() const { return mOutStr; }
    QString errorStr() const { return mErrorStr; }

private:
    enum class Stream
    {
        Output,
        Error
    };

    void readChunk(Stream stream);
    // Types 1 and 2 spill; type 2 has no caller but is the runner's own number.
    bool spills() const { return mExecuterType == kSpillingRun || mExecuterType == 2; }
    void appendOutput(const QString &text);
    static bool endsWithElement(const QString &text);
    void spill();
    void childFinished(quint64 run);
    void endRun(quint64 run, const QString &failure = {});
    void retireChild();
    void setSynchronousChild(pid_t child);

    QString mCommandString;
    EngineArguments mArguments;
    TXCommandDelegate *mDelegate = nullptr;
    const TXCommandExcecuterTimings mTimings;
    std::unique_ptr<QProcess> mTask;
    int mExecuterType = kPlainRun;
    QString mListingFolderPath;
    QString mOutStr;
    // Where the last line break in mOutStr stands; -1 when it holds none.
    qsizetype mLastLineBreak = -1;
    // A spill file could not be written: the rest of the run stays in outStr.
    bool mSpillFailed = false;
    QString mErrorStr;
    int mOutputCount = 0;
    ChildOutputStreamDecoder mOutputDecoder;
    ChildOutputStreamDecoder mErrorDecoder;
    quint64 mRunNumber = 0;
    bool mRunEnded = true;
    // The child of a synchronous run while it runs, so another thread can stop
    // it, and a stop asked for before the child was known.
    std::mutex mSynchronousChildLock;
    pid_t mSynchronousChild = 0;
    bool mSynchronousStop = false;
};
