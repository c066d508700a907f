#include "client/backup/now/RuvoBackupSessionDriver.h"

#include "common/account/User.h"
#include "common/files/DirectiryCreation.h"
#include "common/files/TXSupportFileManager.h"
#include "common/utility/QLUtility.h"

RuvoBackupSessionDriver::RuvoBackupSessionDriver(const Setup &setup, BackupSessionEvents &events,
                                                 SessionTimings timings)
    : mEvents(events), mManager(timings)
{
    mManager.setDelegate(this);
    mManager.setRelativeOperation(true);
    mManager.setMBackupMode(setup.backupMode);
    mManager.setApplicationSupportFolder(setup.applicationSupportFolder);
    mManager.setBackupSourceFolder(QStringLiteral("/"));
    mManager.setDestinationPath(setup.destinationPath);
    mManager.setForOB(true);
    mManager.setRestore(false);
    mManager.deleteTempFilePaths();
    mManager.createTempFilePaths();
    mManager.setCancel(false);
}

BackupSessionDriver::Factory RuvoBackupSessionDriver::factory(SessionTimings timings)
{
    return [timings](const Setup &setup, BackupSessionEvents &events) -> std::unique_ptr<BackupSessionDriver> {
        return std::make_unique<RuvoBackupSessionDriver>(setup, events, timings);
    };
}

void RuvoBackupSessionDriver::setuserInfo(const User &user)
{
    mManager.userInfo().copyEngineFieldsFrom(user, QLUtility::portParam());
    if (user.isRuvoUser())
        mManager.setProxyObjectWithSettingsFile(
            TXSupportFileManager::txFileManager().pathForApplicationFile(ApplicationFile::ProxySetting));
}

void RuvoBackupSessionDriver::startBackup()
{
    // Backup Now has just found the drive; its data root may not be there yet.
    if (!mManager.DestinationPath().isEmpty())
        Directiry_Creation::createDirectoryHierarchyAtPath(mManager.DestinationPath());
    mManager.startBackup();
}
