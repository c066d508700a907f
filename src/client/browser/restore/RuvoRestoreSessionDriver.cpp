#include "client/browser/restore/RuvoRestoreSessionDriver.h"

#include "common/account/User.h"
#include "common/files/TXSupportFileManager.h"
#include "common/utility/QLUtility.h"

RuvoRestoreSessionDriver::RuvoRestoreSessionDriver(const Setup &setup, RestoreSessionEvents &events,
                                                   SessionTimings timings)
    : mEvents(events), mManager(timings)
{
    mManager.setDelegate(this);
    mManager.setRelativeOperation(true);
    mManager.setMBackupMode(setup.backupMode);
    mManager.setApplicationSupportFolder(setup.applicationSupportFolder);
    mManager.setBackupSourceFolder(setup.sourceFolder);
    mManager.setDestinationPath(setup.destinationPath);
    mManager.setForOB(true);
    mManager.setRestore(true);
    mManager.deleteTempFilePaths();
    mManager.createTempFilePaths();
    mManager.setCancel(false);
}

RuvoRestoreSessionDriver::~RuvoRestoreSessionDriver() { mManager.setDelegate(nullptr); }

RestoreSessionDriver::Factory RuvoRestoreSessionDriver::factory(SessionTimings timings)
{
    return [timings](const Setup &setup, RestoreSessionEvents &events) -> std::unique_ptr<RestoreSessionDriver> {
        return std::make_unique<RuvoRestoreSessionDriver>(setup, events, timings);
    };
}

void RuvoRestoreSessionDriver::setuserInfo(const User &user)
{
    mManager.userInfo().copyEngineFieldsFrom(user, QLUtility::portParam());
    if (user.isRuvoUser())
        mManager.setProxyObjectWithSettingsFile(
            TXSupportFileManager::txFileManager().pathForApplicationFile(ApplicationFile::ProxySetting));
}

void RuvoRestoreSessionDriver::setPicks(const QStringList &folders, const QStringList &files)
{
    mManager.mFolderSetForRelativeRestore() = folders;
    mManager.mFileSetForRestore() = files;
}
