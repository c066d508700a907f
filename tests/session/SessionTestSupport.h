#pragma once

#include "session/manager/RuvoBackupManager.h"
#include "session/manager/RuvoBackupRestoreHandlerProtocol.h"

#include "engine/EngineTestSupport.h"

#include <QCoreApplication>
#include <QStringList>
#include <QThread>

#include <memory>

// Stands in for the backup view or a restore view: records every callback and
// whether it came on the main thread.
class RecordingDelegate : public RuvoBackupRestoreHandlerProtocol
{
public:
    void operationDidStart(RuvoBackupManager *) override { record("start"); }
    void backupsetSizeCalculationDidFinishSuccessfully() override { record("walked"); }
    void operationElapsedTimeString(const QString &) override { checkThread(); }
    void operationDidFinishFileListGeneration(quint64) override { record("listed"); }
    void operationDidReceiveData(const QVariantMap &report, RuvoBackupManager *) override
    {
        checkThread();
        reports << report;
    }
    void operationDidReceiveErrors(const QString &message, const QString &, RuvoBackupManager *) override
    {
        record("error: " + message);
    }
    void operationStartedRetrying(RuvoBackupManager *) override { record("retrying"); }
    void makeScriptCallForObject(RuvoBackupManager *) override { record("script call"); }
    void operationDidFinishSuccessfully(RuvoBackupManager *) override { end("success"); }
    void operationDidFailWithError(const QString &message, RuvoBackupManager *) override { end("failure: " + message); }
    void operationDidFailWithOverQuota(const QString &message) override { end("over quota: " + message); }
    void operationDidCancel(RuvoBackupManager *) override { end("cancel"); }
    QString mBackupSessionFilePath() const override { return sessionFile; }
    QString mRestoreSessionFilePath() const override { return sessionFile; }

    bool waitForEnd(int timeoutMs = 20000) { return waitUntil([this] { return !endStates.isEmpty(); }, timeoutMs); }
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
    return timings;
}

// A backup session as the backup view sets one up, for the account "ann".
inline std::unique_ptr<RuvoBackupManager> makeBackupManager(const SessionTimings &timings,
                                                           RuvoBackupRestoreHandlerProtocol &delegate,
                                                           const QString &applicationFolder, const QString &dataRoot,
                                                           const QString &executable)
{
    auto manager = std::make_unique<RuvoBackupManager>(timings);
    manager->setDelegate(&delegate);
    manager->setRelativeOperation(true);
    manager->setApplicationSupportFolder(applicationFolder);
    manager->setBackupSourceFolder("/");
    manager->setDestinationPath(dataRoot);
    manager->setForOB(true);
    manager->setRestore(false);
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

// Readable failure messages for lists of texts.
inline void PrintTo(const QStringList &list, std::ostream *out)
{
    *out << '[' << list.join(" | ").toStdString() << ']';
}
