#pragma once

#include "common/account/User.h"
#include "common/files/TXSupportFileManager.h"
#include "common/texts/QLLocalizedString.h"
#include "engine/EngineTestSupport.h"
#include "index/IndexFixture.h"
#include "platform/PathTemplate.h"
#include "platform/PropertyList.h"
#include "support/SandboxFixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QMutex>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <QThread>

// What a delegate heard, in order, from whichever thread: each entry is the
// callback's name, with " (main)" when it came on the main thread.
class CallbackLog
{
public:
    void add(const QString &callback)
    {
        const bool onMain = QThread::currentThread() == QCoreApplication::instance()->thread();
        QMutexLocker lock(&mLock);
        mEntries << callback + (onMain ? QStringLiteral(" (main)") : QString());
    }
    QStringList entries() const
    {
        QMutexLocker lock(&mLock);
        return mEntries;
    }
    qsizetype size() const { return entries().size(); }
    // Runs the event loop until `count` callbacks came; true when they did.
    bool waitFor(qsizetype count, int timeoutMs = 10000) const
    {
        return waitUntil([&] { return size() >= count; }, timeoutMs);
    }

private:
    mutable QMutex mLock;
    QStringList mEntries;
};

// What the stand-in engine reported for one file it backed up.
struct StandInRecord
{
    QString path;  // the local path, as listed
    QString folderId;
    QString encName;
    QString serverPath() const { return "/" + folderId + "/" + encName; }
};

// One backup-mode run of the stand-in engine storing the files into the
// computer folder; the operation folder takes its list and output files.
inline QList<StandInRecord> backUpWithStandIn(const QString &operation, const QString &computerFolder,
                                              const QStringList &files)
{
    const auto readAll = [](const QString &path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    QDir().mkpath(operation);
    QDir().mkpath(computerFolder);
    QFile list(operation + "/SourceA");
    EXPECT_TRUE(list.open(QIODevice::WriteOnly) && list.write(files.join('\n').toUtf8()) >= 0);
    list.close();
    QProcess engineRun;
    engineRun.start(QLLocalizedString("ExecuterPathRuvo"),
                    {"--o=" + operation + "/out", "--e=" + operation + "/err", "--relative", "--xml-output",
                     "--portable", "--portable-dest=" + computerFolder, "--files-from=" + operation + "/SourceA", "/",
                     "ann@10.0.0.1::home" + computerFolder});
    EXPECT_TRUE(engineRun.waitForFinished());
    EXPECT_EQ(engineRun.exitCode(), 0) << readAll(operation + "/err").toStdString();
    static const QRegularExpression element(" folder_id=\"([^\"]+)\".* enc_name=\"([^\"]+)\".* fname=\"([^\"]+)\"");
    QList<StandInRecord> records;
    for (const QString &line : QString::fromUtf8(readAll(operation + "/out")).split('\n', Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch match = element.match(line);
        EXPECT_TRUE(match.hasMatch()) << line.toStdString();
        records.append({QString(match.captured(3)).replace("&quot;", "\"").replace("&amp;", "&"), match.captured(1),
                        match.captured(2)});
    }
    EXPECT_EQ(records.size(), files.size());
    return records;
}

// The account "ann" with its main index in the application's index folder on
// the drive "Drive", holding the given files, for the controllers that
// answer from the index.
class IndexReaderFixture : public IndexFixture
{
protected:
    void SetUp() override
    {
        IndexFixture::SetUp();
        TXSupportFileManager &files = TXSupportFileManager::txFileManager();
        files.setTarnixUserName(kUser);
        bool changed = false;
        files.setDestinationDrive("Drive", &changed);
    }

    QString folder() const override
    {
        return TXSupportFileManager::txFileManager().pathForApplicationFile(ApplicationFile::LDBFolder);
    }

    // The index waits of the controllers under test; a longer open wait holds a query up.
    static IndexTimings timings(std::chrono::milliseconds openWait = std::chrono::milliseconds(0))
    {
        IndexTimings shortened = kShortTimings;
        shortened.openWait = openWait;
        return shortened;
    }

    // Puts the user in sync mode with no sync account known.
    void enterSyncModeWithoutSyncUser() const
    {
        writeText(PathTemplate::fillTemplate(QLLocalizedString("BackupModePath"), {kUser}), "0");
    }

    // Makes the account's main index unreadable: a file that is no database.
    void spoilIndex() const { writeText(mainIndexPath(), QByteArray(4096, 'x')); }

    User account() const
    {
        User user;
        user.setUserName(kUser);
        return user;
    }
};

// The account "Ann" of the stand-in engine, whose scenario file the engine
// runs of a test follow, with its data on the drives below the sandbox.
class StandInAccountFixture : public SandboxFixture
{
protected:
    void TearDown() override
    {
        qunsetenv("TXRUVO_SCENARIO");
        qunsetenv("TXRUVO_ARGV_LOG");
        SandboxFixture::TearDown();
    }

    static User account()
    {
        User user;
        user.setUserName("Ann");
        user.setPassword("secret");
        user.setPrivateKey("key");
        user.setMEncodedPassword("secret");
        user.setMEncodedKey("key");
        user.setISDefaultKey(true);
        user.setRuvoServerIP("10.0.0.1");
        user.setPort("--port=443");
        user.setRuvoUser(true);
        return user;
    }
    static QString engine() { return QLLocalizedString("ExecuterPathRuvo"); }

    // The scenario every later engine run follows; an empty one is no scenario.
    void setScenario(const QVariantMap &scenario)
    {
        if (scenario.isEmpty()) {
            qunsetenv("TXRUVO_SCENARIO");
            return;
        }
        const QString path = root() + "/scenario.plist";
        ASSERT_TRUE(PropertyList::write(path, scenario));
        qputenv("TXRUVO_SCENARIO", path.toUtf8());
    }

    // Each run's argument vector, one per line, from the engine's own log.
    QStringList loggedVectors() const
    {
        return QString::fromUtf8(readText(root() + "/argv.log")).split(u'\n', Qt::SkipEmptyParts);
    }
    void logVectors() const { qputenv("TXRUVO_ARGV_LOG", (root() + "/argv.log").toUtf8()); }
};
