#pragma once

#include "client/backup/views/LoggedInClientFixture.h"
#include "client/browser/BrowserFakes.h"

#include "client/browser/tree/RemoteTreeController.h"
#include "client/browser/views/GuideImageView.h"
#include "client/browser/views/RemoteTreeModel.h"
#include "client/browser/views/RestorePageView.h"
#include "client/browser/views/RestoreTab.h"
#include "client/common/views/ProgressPaneView.h"
#include "client/shell/views/sidebar/TXTabViewController.h"
#include "desktop/logs/views/LogViewController.h"
#include "platform/PropertyList.h"
#include "support/ScriptedAlerts.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QTreeView>

#include <algorithm>

#include <sys/stat.h>
#include <unistd.h>

// Folders chosen from a script: always the given one.
class ScriptedChooser : public FolderChooser
{
public:
    std::optional<QString> chooseFolder(const QString &) override { return folder; }
    std::optional<QString> chooseFolderWithPromptBox(const QString &, const std::function<void(bool)> &) override
    {
        return folder;
    }
    QString folder;
};

// The client with its Restore tab, as main.cpp puts them together: back up a folder
// of DataDrive to BackupDrive, open Restore and open the tree down to the folder.
class RestoreWindowFixture : public LoggedInClientFixture
{
protected:
    void SetUp() override
    {
        LoggedInClientFixture::SetUp();
        writeText(source() + "/one.txt", QByteArray(700, 'a'));
        writeText(source() + "/two.bin", QByteArray(1500, 'b'));
        writeText(source() + "/skip.txt", "not restored");
        writeText(source() + "/Photos/beach.jpg", QByteArray(900, 'c'));
        writeText(source() + "/Photos/2014/old.jpg", QByteArray(300, 'd'));
        ::chmod(QFile::encodeName(source() + "/two.bin").constData(), 0640);
        ASSERT_EQ(::symlink("one.txt", QFile::encodeName(source() + "/Photos/link").constData()), 0);
        QDir().mkpath(target());
    }

    void TearDown() override
    {
        qunsetenv("TXRUVO_SCENARIO");
        restoreTab.reset();
        LoggedInClientFixture::TearDown();
    }

    QString source() const { return volumes() + "/DataDrive/Documents"; }
    QString target() const { return root() + "/restored"; }

    void openWithRestoreTab(RemoteGuideTimings guideTimings = {}, RemoteOperations::Services operations = {})
    {
        open(&alerts);
        chooser.folder = target();
        restoreTab = std::make_unique<RestoreTab>(client->shell, &alerts, &chooser, guideTimings, &workspace,
                                                  std::move(operations));
        logIn();
    }

    void backUp()
    {
        check("DataDrive", "Documents");
        alerts.answers = {1, 0};  // proceed with BackupDrive; "OK" at the end
        client->backup.page()->backupButton()->click();
        ASSERT_TRUE(waitUntil([&] { return !client->backup.controller().isBackupRunning(); }, 60000));
    }

    // The tree's row of the source folder, opening the tree down to it (the index
    // learns of the backup at its next merge).
    QModelIndex sourceRow()
    {
        RemoteTreeModel &model = *restoreTab->model;
        QModelIndex row;
        waitUntil(
            [&] {
                restoreTab->tree.refresh();
                waitUntil(
                    [&] { return model.rowCount() > 0 && !restoreTab->tree.isListing(restoreTab->tree.rootItem()); },
                    3000);
                if (model.rowCount() == 0)
                    return false;
                row = QModelIndex();
                for (const QString &part : source().split('/', Qt::SkipEmptyParts)) {
                    row = rowNamed(row, part);
                    if (!row.isValid())
                        return false;
                }
                return true;
            },
            40000);
        return row;
    }

    // The tree's rows as far as they are listed, for messages.
    QString shownRows(const QModelIndex &parent = {}, int depth = 0)
    {
        RemoteTreeModel &model = *restoreTab->model;
        QString text;
        for (int row = 0; row < model.rowCount(parent) && depth < 12; ++row) {
            const QModelIndex child = model.index(row, 0, parent);
            text += QString(depth * 2, ' ') + child.siblingAtColumn(1).data().toString() + "\n" +
                    shownRows(child, depth + 1);
        }
        return text;
    }

    // The row named name under parent (its first column, where rows hang), opening the
    // parent first; invalid when it never shows.
    QModelIndex rowNamed(const QModelIndex &parent, const QString &name, int timeoutMs = 5000)
    {
        RemoteTreeModel &model = *restoreTab->model;
        if (model.canFetchMore(parent))
            model.fetchMore(parent);
        QModelIndex found;
        waitUntil(
            [&] {
                for (int row = 0; row < model.rowCount(parent); ++row) {
                    const QModelIndex child = model.index(row, RemoteTreeModel::NameColumn, parent);
                    if (child.data(Qt::DisplayRole).toString() == name)
                        found = child.siblingAtColumn(0);
                }
                return found.isValid();
            },
            timeoutMs);
        return found;
    }

    void checkRow(const QModelIndex &row)
    {
        RemoteTreeModel &model = *restoreTab->model;
        ASSERT_TRUE(row.isValid());
        ASSERT_TRUE(model.setData(row.siblingAtColumn(RemoteTreeModel::CheckColumn), Qt::Checked, Qt::CheckStateRole));
    }

    // What a link holds, as written.
    static QByteArray linkText(const QString &path)
    {
        char text[512] = {};
        const ssize_t size = ::readlink(QFile::encodeName(path).constData(), text, sizeof text - 1);
        return size < 0 ? QByteArray() : QByteArray(text, int(size));
    }

    static void expectSame(const QString &restored, const QString &original)
    {
        const QFileInfo a(restored), b(original);
        ASSERT_TRUE(a.exists() || a.isSymLink()) << restored.toStdString();
        if (b.isSymLink()) {
            EXPECT_TRUE(a.isSymLink()) << restored.toStdString();
            EXPECT_EQ(linkText(restored), linkText(original)) << restored.toStdString();
            return;
        }
        EXPECT_EQ(readText(restored), readText(original)) << restored.toStdString();
        EXPECT_EQ(a.permissions(), b.permissions()) << restored.toStdString();
        EXPECT_EQ(a.lastModified(), b.lastModified()) << restored.toStdString();
    }

    // The log viewer's record of a session log; none before it shows.
    static std::optional<LogNode> recordOf(LogViewController &logs, const QString &sessionLog)
    {
        for (const LogNode &record : logs.records())
            if (record.logfile == sessionLog)
                return record;
        return std::nullopt;
    }

    ScriptedAlerts alerts;
    ScriptedChooser chooser;
    RecordingWorkspace workspace;  // folders and web pages the program opens
    std::unique_ptr<RestoreTab> restoreTab;
};
