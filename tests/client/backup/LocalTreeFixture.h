#pragma once

#include "client/backup/localtree/FileSystemController.h"
#include "client/backup/localtree/FolderSizeCalculator.h"
#include "common/backupset/BackupSetFiles.h"
#include "common/files/TXSupportFileManager.h"
#include "common/volumes/LocalVolumeLayout.h"
#include "support/SandboxFixture.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QMutex>
#include <QThread>

#include <functional>
#include <memory>

// Sizes folders from a table, counting the calls; a folder not in the table gives "-1".
class TableSizeCalculator : public FolderSizeCalculator
{
public:
    QString sizeOfFolder(const QString &diskPath) override
    {
        QMutexLocker lock(&mutex);
        calls.append(diskPath);
        return sizes.value(diskPath, QStringLiteral("-1"));
    }

    QMutex mutex;
    QMap<QString, QString> sizes;
    QStringList calls;
};

// A sandbox with a start-up disk of its own (<root>/startup, named "Startup" in
// the tree) holding opt and Users/me, the home folder (Desktop, Documents with
// report.txt, Music, Pictures and code), and an empty volumes root.
class LocalTreeFixture : public SandboxFixture
{
protected:
    void SetUp() override
    {
        SandboxFixture::SetUp();
        mLayout = {volumes(), startup(), QStringLiteral("Startup"), startup() + "/Users/me"};
        for (const char *folder : {"Desktop", "Documents", "Music", "Pictures", "code"})
            QDir().mkpath(mLayout.homeFolder + '/' + folder);
        QDir().mkpath(startup() + "/opt");
        writeText(mLayout.homeFolder + "/Documents/report.txt", "12345");
        TXSupportFileManager::txFileManager().setTarnixUserName(QStringLiteral("me"));
    }

    void TearDown() override
    {
        mController.reset();
        SandboxFixture::TearDown();
    }

    QString startup() const { return root() + "/startup"; }
    // Tree path of a start-up disk path such as "/Users/me".
    QString tree(const QString &startupPath) const { return mLayout.treePath(startupPath); }

    FileSystemController &controller()
    {
        if (!mController) {
            auto sizes = std::make_unique<TableSizeCalculator>();
            mSizes = sizes.get();
            mController = std::make_unique<FileSystemController>(mLayout, timings(), std::move(sizes));
            mController->setMUserName(QStringLiteral("me"));
        }
        return *mController;
    }

    virtual LocalTreeTimings timings() const
    {
        LocalTreeTimings shortWaits;
        shortWaits.listingPause = std::chrono::milliseconds(1);
        shortWaits.defaultSetDelay = std::chrono::milliseconds(1);
        shortWaits.sizeRunDelay = std::chrono::milliseconds(20);
        shortWaits.sizeWriteRetryPause = std::chrono::milliseconds(1);
        shortWaits.sizeWalkPause = std::chrono::microseconds(0);
        return shortWaits;
    }

    // Runs the event loop until the condition holds; false after five seconds.
    static bool waitFor(const std::function<bool()> &condition)
    {
        QDeadlineTimer deadline(5000);
        while (!condition()) {
            if (deadline.hasExpired())
                return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            QThread::msleep(1);
        }
        return true;
    }

    // Waits until no listing runs and their results have arrived.
    bool settle()
    {
        QCoreApplication::processEvents();  // listings asked for by queued calls start first
        const bool done = waitFor([&] { return controller().isThreadRunning() == 0; });
        QCoreApplication::processEvents();
        return done;
    }

    TreeViewNode *node(const QString &treePath) { return controller().mController().nodeForPath(treePath); }
    int state(const QString &treePath)
    {
        TreeViewNode *found = node(treePath);
        return found ? found->checkState() : -2;
    }

    // Lists a folder (and, through it, nothing else) and waits for it.
    TreeViewNode *open(const QString &treePath)
    {
        TreeViewNode *folder = node(treePath);
        if (folder && !folder->isExpanded())
            controller().expandNode(folder);
        settle();
        return folder;
    }

    // Mounts a drive with its folders in one step, as a real mount does.
    void mount(const QString &name, const QStringList &folders)
    {
        const QString staging = root() + "/staging/" + name;
        QDir().mkpath(staging);
        for (const QString &folder : folders)
            QDir().mkpath(staging + '/' + folder);
        ASSERT_TRUE(QDir().rename(staging, volumes() + '/' + name));
    }

    QStringList savedSet() const
    {
        mController->finishSaving();
        return BackupSetFiles::readList(mController->pathForDataFile()).value_or(QStringList());
    }

    LocalVolumeLayout mLayout;
    std::unique_ptr<FileSystemController> mController;
    TableSizeCalculator *mSizes = nullptr;
};

// Readable failure messages.
inline void PrintTo(const QString &text, std::ostream *out) { *out << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QStringList &texts, std::ostream *out)
{
    *out << '[' << texts.join(QStringLiteral(", ")).toStdString() << ']';
}
inline void PrintTo(const QVariantMap &map, std::ostream *out)
{
    *out << '{';
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        *out << it.key().toStdString() << ": " << it.value().toString().toStdString() << "; ";
    *out << '}';
}
