// The destination drive: the install-volume probe and the change of drive.
#include "client/shell/main/TXMainController.h"

#include "client/shell/main/TXMainView.h"
#include "common/files/TXSupportFileManager.h"
#include "common/files/TextFile.h"
#include "common/texts/QLLocalizedString.h"
#include "common/utility/QLUtility.h"
#include "platform/PathRoots.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString destinationFile()
{
    return TXSupportFileManager::txFileManager().pathForApplicationFile(ApplicationFile::DestinationDrivePath);
}

QString applicationName() { return QLLocalizedString(QStringLiteral("ApplicationName")); }

bool isInside(const QString &path, const QString &folder)
{
    return path == folder || path.startsWith(folder + QLatin1Char('/'));
}

}  // namespace

QString TXMainController::currentDestinationDrive() const { return QFileInfo(mDestinationDrive).fileName(); }

QString TXMainController::getInstallationVolume()
{
    const QString startup = QStringLiteral("/");
    QStringList drives = QLUtility::listMountedVolumesPaths();
    drives.removeAll(startup);
    // The drive the client runs from is the natural destination: it is the portable drive.
    const QString program = QFileInfo(PathRoots::programFolder()).canonicalFilePath();
    for (const QString &drive : std::as_const(drives)) {
        if (isInside(program, QFileInfo(drive).canonicalFilePath()))
            return drive;
    }
    // An installed client runs from no drive: the portable drive is then the one that
    // already holds this brand's backups, or the only drive attached.
    for (const QString &drive : std::as_const(drives)) {
        if (QFileInfo(drive + QLatin1Char('/') + brandFolder()).isDir())
            return drive;
    }
    if (drives.size() == 1)
        return drives.first();
    // Else the start-up volume, when it is listed among the volumes.
    const QString root = PathRoots::volumesRoot();
    for (const QString &entry : QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        if (QFileInfo(root + QLatin1Char('/') + entry).canonicalFilePath() == startup)
            return root + QLatin1Char('/') + entry;
    }
    return {};
}

void TXMainController::setDestination(const QString &volumePath)
{
    bool changed = false;
    TXSupportFileManager::txFileManager().setDestinationDrive(QFileInfo(volumePath).fileName(), &changed);
    mDestinationDrive = volumePath;
    mView.showDestination(volumePath);
    emit destinationDidChange(volumePath);
}

void TXMainController::destinationDriveDidChange(const QString &volumePath, const QString &unmountedVolume)
{
    const QString old = TextFile::read(destinationFile()).value_or(QString()).trimmed();
    if (!unmountedVolume.isEmpty() && unmountedVolume == old) {
        // The current destination went away; the choice stays, and the chooser says so
        // (it names no other drive, and shows this one again when it comes back).
        mView.showDestination(old);
        return;
    }
    if (volumePath == old)
        return;
    const auto keepOld = [this, &old] { mView.showDestination(old); };
    // Drivers would be replaced under a running restore, delete or clean-up.
    if (mIsAnyOperationActive || isReIndexInProgressValue) {
        mAlerts.inform({applicationName(),
                        QStringLiteral("The backup volume cannot be changed while an operation is in progress."),
                        QStringLiteral("OK"),
                        {},
                        {},
                        QStringLiteral("alert_icon_small.png")});
        keepOld();
        return;
    }
    const QString dataFolder = volumePath + QLatin1Char('/') + brandFolder();
    if ((QFileInfo(dataFolder).isDir() && !QLUtility::isWritableFileAtPath(dataFolder)) ||
        !QLUtility::isWritableFileAtPath(volumePath)) {
        mAlerts.inform({QStringLiteral("Permission denied!"),
                        QStringLiteral("You do not have sufficient access rights for this volume. Please select "
                                       "another volume for local backup."),
                        QStringLiteral("OK"),
                        {},
                        {},
                        QStringLiteral("alert_icon_small.png")});
        keepOld();
        return;
    }
    if (!old.isEmpty()) {
        const QString oldUserFolder = old + QLatin1Char('/') + brandFolder() + QLatin1Char('/') +
                                      TXSupportFileManager::txFileManager().TarnixUserName();
        const QStringList entries =
            QDir(oldUserFolder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        if (entries.size() >= 2) {
            const QString question =
                QStringLiteral("Do you want to change the local backup volume from '%1' to '%2' ? \n\nNote: Rizered "
                               "data and storage usage display may not be appropriate if you change your local "
                               "backup location.")
                    .arg(QFileInfo(old).fileName(), QFileInfo(volumePath).fileName());
            if (mAlerts.confirm({applicationName(), question, QStringLiteral("No"), QStringLiteral("Yes"), {}, {}})) {
                keepOld();
                return;
            }
        }
    }
    TextFile::write(destinationFile(), volumePath);
    setDestination(volumePath);
    replaceIndexWorker(true);
    mView.refreshSpaceUsed();
}
