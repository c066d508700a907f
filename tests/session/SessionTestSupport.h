#pragma once

#include "common/transfer/ProgressReport.h"
#include "session/manager/RuvoBackupManager.h"
#include "session/manager/RuvoBackupRestoreHandlerProtocol.h"

#include "engine/EngineTestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QThread>

#include <memory>

// Stands in for the backup view or a restore view: records every callback and
// whether it came on the main thread.
class SessionRecorder : public RuvoBackupRestoreHandlerProtocol
{
public:
    void operationDidStart(SessionDriver *) override { record("start"); }
    void backupsetSizeCalculationDidFinishSuccessfully() override { record("walked"); }
    void operationElapsedTimeString(const QString &) override { checkThread(); }
    void operationDidFinishFileListGeneration(quint64) override { record("listed"); }
    void operationDidReceiveData(const ProgressReport &report, SessionDriver *) override
    {
        checkThread();
        reports << report.toMap();
    }
    void operationDidReceiveErrors(const QString &message, const QString &, SessionDriver *) override
    {
        record("error: " + message);
    }
    void operationStartedRetrying(SessionDriver *) override { record("retrying"); }
    void makeScriptCallForObject(SessionDriver *) override { record("script call"); }
    void operationDidFinishSuccessfully(SessionDriver *) override { end("success"); }
    void operationDidFailWithError(const QString &message, SessionDriver *) override { end("failure: " + message); }
    void operationDidFailWithOverQuota(const QString &message) override { end("over quota: " + message); }
    void operationDidCancel(SessionDriver *) override { end("cancel"); }
    QString mBackupSessionFilePath() const override { return sessionFile; }
    QString mRestoreSessionFilePath() const override { return sessionFile; }

    bool waitForEnd(int timeoutMs = 20000)
    {
        return waitUntil([this] { return !endStates.isEmpty(); }, timeoutMs);
    }
    // Waits a little longer for a second end state that must not come.
    QStringList settledEndStates()
    {
        spinFor(100);
        return endStates;
    }
    int count(const QString &event) const { return events.count(event); }

    QStringList events;
    QStringList endStates;
    QList<QVariantMap> reports;
    QString sessionFile;
    bool offMainThread = false;

private:
    void checkThread()
    {
        if (QThread::currentThread() != QCoreApplication::instance()->thread())
            offMainThread = true;
    }
    void record(const QString &event)
    {
        checkThread();
        events << event;
    }
    void end(const QString &state)
    {
        record(state);
        endStates << state;
    }
};

// An engine that only records: a script that copies the list it is given into
// a file of its own in the folder $FAKE_ENGINE_LOG, so that every block's run
// can be counted. With $FAKE_ENGINE_FAILS it writes that text to its error
// file and exits 1; with $FAKE_ENGINE_FAIL_ONCE (a file) it exits 1 the first
// time only; with $FAKE_ENGINE_SLEEP it sleeps first; with
// $FAKE_ENGINE_COMPLETES it reports each line of its list as run to its end.
class FakeEngine
{
public:
    void install(const QString &folder)
    {
        mFolder = folder;
        QFile script(executable());
        script.open(QIODevice::WriteOnly);
        script.write(R"(#!/bin/sh
for a in "$@"; do
  case "$a" in
    --files-from=*) list="${a#--files-from=}";;
    --o=*) out="${a#--o=}";;
    --e=*) err="${a#--e=}";;
  esac
done
: > "$out"; : > "$err"
[ -n "$FAKE_ENGINE_SLEEP" ] && sleep "$FAKE_ENGINE_SLEEP"
if [ -n "$FAKE_ENGINE_FAIL_ONCE" ] && [ ! -e "$FAKE_ENGINE_FAIL_ONCE" ]; then
  : > "$FAKE_ENGINE_FAIL_ONCE"; exit 1
fi
if [ -n "$FAKE_ENGINE_FAILS" ]; then printf '%s\n' "$FAKE_ENGINE_FAILS" >> "$err"; exit 1; fi
cat "$list" > "$FAKE_ENGINE_LOG/run-$$"
if [ -n "$FAKE_ENGINE_COMPLETES" ]; then
  sed -e '/^$/d' -e 's|.*|<file offset="0" size="100" tottrf_sz="100" per="100" trf_type="FULL" fname="&"/>|' "$list" >> "$out"
fi
)");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QDir().mkpath(log());
        qputenv("FAKE_ENGINE_LOG", log().toUtf8());
        for (const char *name :
             {"FAKE_ENGINE_FAILS", "FAKE_ENGINE_FAIL_ONCE", "FAKE_ENGINE_SLEEP", "FAKE_ENGINE_COMPLETES"})
            qunsetenv(name);
    }

    QString executable() const { return mFolder + "/fake-engine"; }

    void clearRuns() const
    {
        QDir(log()).removeRecursively();
        QDir().mkpath(log());
    }

    // The paths each run was given, run by run.
    QList<QStringList> runs() const
    {
        QList<QStringList> result;
        for (const QString &run : QDir(log()).entryList(QDir::Files)) {
            QFile list(log() + "/" + run);
            list.open(QIODevice::ReadOnly);
            result << QString::fromUtf8(list.readAll()).split(u'\n', Qt::SkipEmptyParts);
        }
        return result;
    }

private:
    QString log() const { return mFolder + "/engine-runs"; }

    QString mFolder;
};

// Timings of milliseconds, so that a session runs in the time its engines need.
inline SessionTimings fastTimings()
{
    SessionTimings timings;
    timings.elapsedTick = std::chrono::milliseconds(20);
    timings.firstLaunchSettle = std::chrono::milliseconds(0);
    timings.retryDelay = std::chrono::milliseconds(5);
    timings.retryWhileOtherRetries = std::chrono::milliseconds(5);
    timings.endWait = std::chrono::milliseconds(5);
    timings.walk.walkPause = std::chrono::microseconds(0);
    timings.engine.poll = std::chrono::milliseconds(10);
    timings.engine.finishGrace = std::chrono::milliseconds(10);
    timings.engine.finishNotice = std::chrono::milliseconds(5);
    timings.index.openWait = std::chrono::milliseconds(0);
    return timings;
}

// A session as its creators set one up, for the account "ann".
inline std::unique_ptr<RuvoBackupManager> makeSessionManager(const SessionTimings &timings,
                                                             RuvoBackupRestoreHandlerProtocol &delegate,
                                                             const QString &applicationFolder, const QString &dataRoot,
                                                             const QString &executable, bool restore,
                                                             const QString &sourceFolder)
{
    auto manager = std::make_unique<RuvoBackupManager>(timings);
    manager->setDelegate(&delegate);
    manager->setRelativeOperation(true);
    manager->setApplicationSupportFolder(applicationFolder);
    manager->setBackupSourceFolder(sourceFolder);
    manager->setDestinationPath(dataRoot);
    manager->setForOB(true);
    manager->setRestore(restore);
    manager->deleteTempFilePaths();
    manager->createTempFilePaths();
    manager->setCancel(false);
    User &account = manager->userInfo();
    account.setUserName("ann");
    account.setRuvoServerIP("10.0.0.1");
    account.setPort("--port=443");
    account.setMEncodedKey("TXE1:key");
    account.setMEncodedPassword("TXE1:pw");
    manager->setExecutorPath(executable);
    return manager;
}

// A backup session as the backup view sets one up: the data root is the computer folder.
inline std::unique_ptr<RuvoBackupManager> makeBackupManager(const SessionTimings &timings,
                                                            RuvoBackupRestoreHandlerProtocol &delegate,
                                                            const QString &applicationFolder, const QString &dataRoot,
                                                            const QString &executable)
{
    return makeSessionManager(timings, delegate, applicationFolder, dataRoot, executable, false, "/");
}

// A restore session as the restore views set one up: the data root is the
// user's folder on the drive, the target the folder that receives the items.
inline std::unique_ptr<RuvoBackupManager> makeRestoreManager(const SessionTimings &timings,
                                                             RuvoBackupRestoreHandlerProtocol &delegate,
                                                             const QString &applicationFolder,
                                                             const QString &userFolder, const QString &target,
                                                             const QString &executable)
{
    return makeSessionManager(timings, delegate, applicationFolder, userFolder, executable, true, target);
}

// Readable failure messages for lists of texts.
inline void PrintTo(const QStringList &list, std::ostream *out)
{
    *out << '[' << list.join(" | ").toStdString() << ']';
}
