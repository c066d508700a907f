#include "client/browser/versions/VersionBrowser.h"

#include "client/browser/host/BrowserHost.h"
#include "client/browser/host/Workspace.h"
#include "client/browser/versions/VersionPaneHost.h"
#include "client/browser/versions/VersionRestoreRunner.h"
#include "client/common/destination/BackupDestination.h"
#include "common/texts/QLLocalizedString.h"
#include "common/transfer/ProgressReport.h"
#include "desktop/alerts/AlertPresenter.h"

#include <QFileInfo>

namespace {

const QString kReIndexText = QStringLiteral("Unable to proceed as database re-indexing is underway.");
const QString kNoDriveText = QStringLiteral("The backup drive is not attached: its versions cannot be reached.");

QString applicationName() { return QLLocalizedString(QStringLiteral("ApplicationName")); }

// The version a selected row names, as the restore takes it.
TXVersion versionOfRow(const FileSystemNode &row)
{
    TXVersion version;
    version.setLMD(row.modificationDate);
    version.setVersion(row.version);
    version.setSize(row.size);
    version.SetSizeinBytes(double(row.sizeInBytes));
    bool isNumber = false;
    const qint64 number = row.version.toLongLong(&isNumber);
    if (isNumber)
        version.setVersionID(number);
    return version;
}

}  // namespace

VersionBrowser::VersionBrowser(Services services)
    : mServices(services)
{
    mPane.setCloseAction([this] { mServices.page.removeVersionView(); });
}

VersionBrowser::~VersionBrowser() { mServices.runner.forget(*this); }

QString VersionBrowser::computerFolderOnDrive(const QString &mpcName) const
{
    const QString volume = BackupDestination::volumePath(mServices.host.currentDestinationDrive());
    if (volume.isEmpty() || !QFileInfo(volume).isDir())
        return {};
    return BackupDestination::destinationFolder(volume, mServices.host.userObject(), mpcName,
                                                mServices.host.isAppInBackupMode());
}

void VersionBrowser::beginRequest(const QString &displayPath)
{
    ++mRequest;
    mPane.removeAllVersionsArray();
    mPane.setFileLabel(VersionViewController::kCaptionFormat.arg(displayPath));
    mPane.setVersionFilepath(QString());
    // Out and in again: a pane already open shows the new file.
    mServices.page.removeVersionView();
    mServices.page.showVersionView();
    mPane.setHiddenVersionHistoryProgress(false);
}

void VersionBrowser::showVersionHistory(const QString &treePath)
{
    if (mServices.host.isReIndexInProgress()) {
        mServices.alerts.inform(QLLocalizedString(kReIndexText));
        return;
    }
    const QString indexPath = QLatin1Char('/') + treePath;
    beginRequest(indexPath);
    const int request = mRequest;
    mServices.source.lookUp(indexPath, [this, request, indexPath](const VersionSource::Lookup &lookup) {
        if (request != mRequest)
            return;
        if (!lookup.firstRow)
            return fetchFailed();
        // A folder keeps no versions: the pane stays with its caption and no rows.
        if (lookup.firstRow->isFolder() || lookup.firstRow->fileName.endsWith(QLatin1Char('/')))
            return mPane.setHiddenVersionHistoryProgress(true);
        listVersions({indexPath, lookup.firstRow->folderID, lookup.firstRow->encFilename, lookup.firstRow->mpcName},
                     request);
    });
}

void VersionBrowser::showVersionHistory(const StoredFileIdentity &file)
{
    beginRequest(file.displayPath);
    listVersions(file, mRequest);
}

void VersionBrowser::listVersions(const StoredFileIdentity &file, int request)
{
    const QString destination = computerFolderOnDrive(file.mpcName);
    if (destination.isEmpty())
        return fetchFailed();
    VersionSource::ListRequest list;
    list.serverPath = QStringLiteral("/%1/%2").arg(file.folderID, file.encFilename);
    list.mpcName = file.mpcName;
    list.destination = destination;
    mPane.setVersionFilepath(list.serverPath);
    mServices.source.listVersions(list, [this, request](const VersionSource::List &answer) {
        if (request == mRequest)
            versionsListed(answer);
    });
}

void VersionBrowser::versionsListed(const VersionSource::List &list)
{
    // An answer without a single version is no list either.
    if (!list.succeeded || list.versions.isEmpty())
        return fetchFailed();
    mPane.setVersionsArray(list.versions);
    mPane.setHiddenVersionHistoryProgress(true);
}

void VersionBrowser::fetchFailed()
{
    mPane.setFileLabel(QLLocalizedString(VersionViewController::kFetchFailedText));
    mPane.removeAllVersionsArray();
    mPane.setHiddenVersionHistoryProgress(true);
}

bool VersionBrowser::isVersionSelected() const
{
    return mServices.page.isVersionViewShown() && mPane.selectedVersion().has_value();
}

void VersionBrowser::performVersionRestore()
{
    const std::optional<FileSystemNode> row = mPane.selectedVersion();
    if (!row)
        return;
    // One restore at a time: a second would set the one version restore up anew mid-run.
    if (mServices.runner.isRestoring() || mServices.page.isSessionRestoreRunning())
        return informRestoreInProgress();
    const QString destination = computerFolderOnDrive(row->mpcName);
    if (destination.isEmpty()) {
        mServices.alerts.inform(QLLocalizedString(kNoDriveText));
        return;
    }
    mServices.page.removeVersionView();
    VersionRestoreRequest request;
    request.serverPath = mPane.versionFilePath();
    request.version = versionOfRow(*row);
    request.displayPath = mPane.fileLabel();
    request.restoreDestination = mServices.page.restoreDestination();
    request.destination = destination;
    mRestoreDestination = request.restoreDestination;
    mRestoreStarted = false;
    mServices.runner.start(request, *this);
    // A stopped restore's engine that has not ended yet holds the start back, without a word.
    if (!mRestoreStarted)
        informRestoreInProgress();
}

void VersionBrowser::informRestoreInProgress()
{
    AlertRequest busy;
    busy.title = QLLocalizedString(kRestoreInProgressTitle);
    busy.message = QLLocalizedString(kRestoreInProgressText);
    busy.defaultButton = QLLocalizedString(QStringLiteral("OK"));
    mServices.alerts.inform(busy);
}

void VersionBrowser::closePane()
{
    // A list still on its way has no pane to go to.
    ++mRequest;
    mPane.setHiddenVersionHistoryProgress(true);
    if (mServices.page.isVersionViewShown())
        mServices.page.removeVersionView();
}

// --- The version restore ---

void VersionBrowser::willStartVersionRestoreforPath(const QString &, std::optional<qint64>, const QString &)
{
    mRestoreStarted = true;
    mServices.host.setRestoreMiniPercentage(QStringLiteral("0 %"));
    mServices.host.setRestoreMiniProgressHidden(false);
    mServices.host.setOperationActive(true);
    mServices.host.setRestoreRunning(true);
    mServices.page.versionRestoreDidStart();
}

void VersionBrowser::operationDidStart(RuvoVersionRestoreController *) {}

void VersionBrowser::operationDidReceiveData(const ProgressReport &progress, RuvoVersionRestoreController *)
{
    if (progress.has(ProgressReport::Percentage))
        mServices.host.setRestoreMiniPercentage(QStringLiteral("%1 %").arg(progress.value(ProgressReport::Percentage)));
    mServices.page.versionRestoreDidReceiveData(progress);
}

void VersionBrowser::endVersionRestore()
{
    mServices.page.versionRestoreDidEnd();
    mServices.host.setRestoreMiniProgressHidden(true);
    mServices.host.setOperationActive(false);
    mServices.host.setRestoreRunning(false);
}

void VersionBrowser::didFinishVersionRestoreforPath(const QString &, std::optional<qint64>, const QString &)
{
    endVersionRestore();
    AlertRequest done;
    done.title = applicationName();
    done.message = QLLocalizedString(QStringLiteral(
        "Restore operation has been completed successfully. Click the 'View' button to view the restored item(s)."));
    done.defaultButton = QLLocalizedString(QStringLiteral("View"));
    done.alternateButton = QLLocalizedString(QStringLiteral("OK"));
    if (mServices.alerts.runModalAlert(done) == AlertPresenter::kAnswerDefault)
        mServices.workspace.openFolder(mRestoreDestination);
}

void VersionBrowser::versionRestoreDidCancel(RuvoVersionRestoreController *) { endVersionRestore(); }

void VersionBrowser::versionRestoreDidFail(const QString &error, RuvoVersionRestoreController *)
{
    endVersionRestore();
    mServices.alerts.inform(QLLocalizedString(kRestoreFailedText).arg(error).trimmed());
}
