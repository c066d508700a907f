#pragma once

#include "client/browser/host/FolderChooser.h"
#include "client/browser/host/OperationsHost.h"
#include "client/browser/host/Workspace.h"
#include "client/browser/search/KeySearch.h"
#include "client/browser/tree/RemoteFolderListing.h"
#include "common/account/User.h"
#include "engine/controllers/RuvoDeleteController.h"

#include <QList>
#include <QStringList>

#include <deque>
#include <optional>

// Listings that end only when a test says so.
class ManualFolderListing : public RemoteFolderListing
{
public:
    void list(const QString &folderPath) override { running.append(folderPath); }
    void cancelAll() override
    {
        ++cancels;
        running.clear();
    }

    // Ends the listing of the folder as the index would; false when none runs.
    bool finish(const QString &folderPath, const QList<RemoteEntry> &entries)
    {
        if (!running.removeOne(folderPath))
            return false;
        receiver()->folderListed(folderPath, entries);
        return true;
    }
    bool fail(const QString &folderPath)
    {
        if (!running.removeOne(folderPath))
            return false;
        receiver()->folderListingFailed(folderPath);
        return true;
    }
    // A result that arrives for a listing that was forgotten.
    void lateResult(const QString &folderPath, const QList<RemoteEntry> &entries)
    {
        receiver()->folderListed(folderPath, entries);
    }

    QStringList running;
    int cancels = 0;
};

inline RemoteEntry folderEntry(const QString &name) { return {name, true, {}, {}, {}}; }
inline RemoteEntry fileEntry(const QString &name, const QString &size = "10")
{
    return {name, false, size, "2026-12-01 10:00:00 +0000", "1"};
}

// The main controller and sidebar, recording what the Restore page and the tree's operations tell them.
class FakeBrowserHost : public OperationsHost
{
public:
    bool isOperationActive() const override { return operationActive; }
    void setReIndexInProgress(bool inProgress) override { reIndexing = inProgress; }
    RuvoDeleteController &deleteController() override { return deletes; }
    void addFileToDelete(const QString &indexPath) override { indexDeletes << indexPath; }
    void displaySearchView(const QString &key) override { searches << key; }

    bool isReIndexInProgress() const override { return reIndexing; }
    QString currentDestinationDrive() const override { return volumeName; }
    QString mpcName() const override { return "/Office"; }
    bool isAppInBackupMode() const override { return backupMode; }
    const User &userObject() override { return account; }
    QVariantMap getPreferencesSettingForUser(const QString &) const override { return preferences; }
    void setOperationActive(bool active) override { operationActive = active; }
    void sendSessionLogInformation(const SessionLogReport &report) override { reports.append(report); }
    void displayLogView() override {}
    void upgrade() override {}
    void setDisplayRefreshGuide(bool) override {}
    void calQuota() override {}
    void setUserAndProxyToObject(TXEngineController &) override {}
    void setRestoreMiniProgressHidden(bool hidden) override { miniProgressHidden = hidden; }
    void setRestoreMiniPercentage(const QString &text) override { miniPercentage = text; }
    void setSearchInProgress(bool) override {}
    void setRestoreRunning(bool running) override { restoreRunning = running; }
    bool isVersionRestoreRunning() const override { return versionRestoring; }
    void cancelVersionRestore() override { ++versionCancels; }

    bool reIndexing = false;
    QString volumeName = "Drive";
    bool backupMode = true;
    User account;
    QVariantMap preferences;
    bool operationActive = false;
    QList<SessionLogReport> reports;
    bool miniProgressHidden = true;
    QString miniPercentage;
    bool restoreRunning = false;
    bool versionRestoring = false;
    int versionCancels = 0;
    RuvoDeleteController deletes;
    QStringList indexDeletes;
    QStringList searches;
};

// Answers the folder choosers from a script: a folder, or none for Cancel. The
// prompt's box is clicked as the script says before the answer.
class ScriptedFolderChooser : public FolderChooser
{
public:
    struct Answer
    {
        std::optional<QString> folder;
        QList<bool> boxClicks;
    };

    std::optional<QString> chooseFolder(const QString &startFolder) override
    {
        starts.append(startFolder);
        return next({}).folder;
    }
    std::optional<QString> chooseFolderWithPromptBox(const QString &startFolder,
                                                     const std::function<void(bool)> &boxClicked) override
    {
        starts.append(startFolder);
        ++prompts;
        const Answer answer = next(boxClicked);
        return answer.folder;
    }

    std::deque<Answer> answers;
    QStringList starts;
    int prompts = 0;

private:
    Answer next(const std::function<void(bool)> &boxClicked)
    {
        if (answers.empty())
            return {};
        Answer answer = answers.front();
        answers.pop_front();
        for (bool ticked : answer.boxClicks)
            if (boxClicked)
                boxClicked(ticked);
        return answer;
    }
};

class RecordingWorkspace : public Workspace
{
public:
    void openFolder(const QString &path) override { opened.append(path); }
    void openURL(const QUrl &address) override { openedAddresses.append(address); }
    QStringList opened;
    QList<QUrl> openedAddresses;
};

// Key searches that report only when a test says so.
class ManualKeySearch : public KeySearch
{
public:
    struct Started
    {
        quint64 search;
        QString key;
        QString root;
        bool showHidden;
    };

    void start(quint64 search, const QString &key, const QString &root, bool showHidden) override
    {
        started.append({search, key, root, showHidden});
        running = true;
    }
    void cancel() override
    {
        ++cancels;
        running = false;
    }
    bool isRunning() const override { return running; }

    // What the index reports for the search of that number, whether it is the latest or not.
    void rows(quint64 search, const QList<FileSystemNode> &rows) { receiver()->searchReceivedRows(search, rows); }
    void finish(quint64 search)
    {
        running = false;
        receiver()->searchFinished(search);
    }
    quint64 latest() const { return started.isEmpty() ? 0 : started.last().search; }

    QList<Started> started;
    bool running = false;
    int cancels = 0;
};

inline FileSystemNode searchRow(const QString &path, const QString &versions = "1")
{
    return FileSystemNode(path, "10 B", "2026-12-01 10:00:00 +0000", true, versions);
}
