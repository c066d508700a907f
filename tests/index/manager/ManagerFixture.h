#pragma once

#include "index/manager/TarnixDBManager.h"
#include "index/sqlite/FMDatabase.h"
#include "index/sqlite/FMResultSet.h"
#include "support/FakeApplicationDelegate.h"
#include "support/QtPrinters.h"
#include "support/SandboxFixture.h"

#include "common/files/TXSupportFileManager.h"

#include <QDir>

#include <chrono>
#include <memory>

// An index manager of the user "ann" whose drive "Backup" lies in the sandbox,
// with a main controller that can be changed per test. Ticks are driven by
// the test: the manager's own interval is far longer than any test.
class ManagerFixture : public SandboxFixture
{
protected:
    static inline const QString kUser = "ann";

    void SetUp() override
    {
        SandboxFixture::SetUp();
        TXSupportFileManager &files = TXSupportFileManager::txFileManager();
        files.setTarnixUserName(kUser);
        bool changed = false;
        files.setDestinationDrive("Backup", &changed);
        mainController.account.setUserName(kUser);
        mainController.computerFolder = "/Office";
        mainController.backupPath = dataRoot();
    }
    void TearDown() override
    {
        manager.reset();
        SandboxFixture::TearDown();
    }

    static IndexManagerTimings testTimings()
    {
        IndexManagerTimings timings;
        timings.tickInterval = std::chrono::hours(1);
        timings.writerPause = std::chrono::milliseconds(0);
        timings.index.openWait = std::chrono::milliseconds(0);
        timings.index.mergePause = std::chrono::milliseconds(0);
        return timings;
    }

    // A manager handed the main controller, as the client makes one after login.
    TarnixDBManager &startManager(const IndexManagerTimings &timings = testTimings())
    {
        manager = std::make_unique<TarnixDBManager>(timings);
        manager->setMainController(&mainController);
        return *manager;
    }

    // The user's folder on the drive, which holds the computer folders and the index folder.
    QString dataRoot() const { return volumes() + "/Backup/TarnixVidezud/" + kUser; }
    QString indexFolder() const { return dataRoot() + "/.index"; }
    QString mainIndexPath() const { return indexFolder() + "/" + kUser + ".qlenc"; }

    // A local file of the sandbox with some content.
    QString localFile(const QString &relative, const QByteArray &content = "data")
    {
        const QString path = home() + "/" + relative;
        writeText(path, content);
        return path;
    }

    static BackedUpFile backedUp(const QString &path, const QString &version = "1", const QString &encName = "enc")
    {
        return {path, QString(), version, "fid", "/Office", encName};
    }

    void tickAndWait()
    {
        manager->updaterTimer();
        manager->waitForWriters();
    }

    // Each file row of the main index: its path, version and encoded name.
    QStringList fileRows() const
    {
        FMDatabase db(mainIndexPath());
        QStringList rows;
        if (!QFileInfo::exists(mainIndexPath()) || !db.open())
            return rows;
        auto result = db.executeQuery(
            "SELECT substr(qlfolder.NAME, 2, length(qlfolder.NAME) - 2) || substr(qlfile.NAME, 2, length(qlfile.NAME) "
            "- 2)"
            " || ' v' || qlfile.FILE_OR_FOLDER || ' ' || qlfile.ENC_NAME FROM qlfile JOIN qlfolder USING (DIRID)"
            " ORDER BY 1");
        while (result && result->next())
            rows.append(result->stringForColumnIndex(0));
        return rows;
    }

    FakeApplicationDelegate mainController;
    std::unique_ptr<TarnixDBManager> manager;
};
