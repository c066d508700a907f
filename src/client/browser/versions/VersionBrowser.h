#pragma once

#include "client/browser/versions/StoredFileIdentity.h"
#include "client/browser/versions/VersionSource.h"
#include "client/browser/versions/VersionViewController.h"
#include "engine/controllers/VersionRestoreProtocol.h"

#include <QString>

class AlertPresenter;
class BrowserHost;
class VersionPaneHost;
class VersionRestoreRunner;
class Workspace;

// The versions of a stored file in a page's version pane, and the restore of
// one of them: the destination tree's file is first looked up in the index,
// a search result carries its identity already; the engine lists the versions
// into the pane; Restore with a version selected hands that version to the
// program's one version restore, whose end puts the page's controls back.
class VersionBrowser : private VersionRestoreProtocol
{
public:
    struct Services
    {
        BrowserHost &host;
        VersionPaneHost &page;
        AlertPresenter &alerts;
        Workspace &workspace;
        VersionSource &source;
        VersionRestoreRunner &runner;
    };

    static inline const QString kRestoreInProgressTitle = QStringLiteral("Restore in progress");
    static inline const QString kRestoreInProgressText =
        QStringLiteral("Unable to proceed as another instance of the restore operation is underway.");
    static inline const QString kRestoreFailedText = QStringLiteral("Unable to restore the selected version. %1");

    explicit VersionBrowser(Services services);
    ~VersionBrowser() override;

    VersionViewController &versionViewController() { return mPane; }

    // A file of the destination tree (its path below the data root, no leading "/").
    void showVersionHistory(const QString &treePath);
    // A file whose stored identity is known (a search result): no index lookup.
    void showVersionHistory(const StoredFileIdentity &file);

    // Whether the page's Restore restores a version: the pane shows and a version is selected.
    bool isVersionSelected() const;
    // Restores the selected version into the page's restore destination.
    void performVersionRestore();
    // The page restores its checked items instead, or its account or drive changed: the pane goes.
    void closePane();

private:
    // A new request: the pane emptied, captioned and shown, turning.
    void beginRequest(const QString &displayPath);
    void listVersions(const StoredFileIdentity &file, int request);
    void versionsListed(const VersionSource::List &list);
    void fetchFailed();
    // The computer folder on the drive of a computer folder name; "" without a drive.
    QString computerFolderOnDrive(const QString &mpcName) const;
    void endVersionRestore();
    void informRestoreInProgress();

    // --- VersionRestoreProtocol ---
    void willStartVersionRestoreforPath(const QString &path, std::optional<qint64> versionNumber,
                                        const QString &destination) override;
    void operationDidStart(RuvoVersionRestoreController *controller) override;
    void operationDidReceiveData(const ProgressReport &progress, RuvoVersionRestoreController *controller) override;
    void didFinishVersionRestoreforPath(const QString &path, std::optional<qint64> versionNumber,
                                        const QString &destination) override;
    void versionRestoreDidCancel(RuvoVersionRestoreController *controller) override;
    void versionRestoreDidFail(const QString &error, RuvoVersionRestoreController *controller) override;

    Services mServices;
    VersionViewController mPane;
    // Each request counts up: an answer to an earlier one changes nothing.
    int mRequest = 0;
    QString mRestoreDestination;   // of the running version restore
    bool mRestoreStarted = false;  // the restore told that it starts
};
