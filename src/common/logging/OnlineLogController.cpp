#include "common/logging/OnlineLogController.h"

#include "common/context/ProgramContext.h"
#include "common/files/TXSupportFileManager.h"
#include "platform/ItemRemoval.h"

#include <QFileInfo>

OnlineLogController &OnlineLogController::SharedOnlineLogController()
{
    return ProgramContext::current().onlineLog();
}

void OnlineLogController::setOperationStartTime(const QString &startTime)
{
    QMutexLocker lock(&mMutex);
    mOperationStartTime = startTime;
}

QString OnlineLogController::operationStartTime() const
{
    QMutexLocker lock(&mMutex);
    return mOperationStartTime;
}

void OnlineLogController::setOperationStatus(const QString &status)
{
    QMutexLocker lock(&mMutex);
    mOperationStatus = status;
}

QString OnlineLogController::operationStatus() const
{
    QMutexLocker lock(&mMutex);
    return mOperationStatus;
}

QString OnlineLogController::userSessionUploadPath()
{
    return TXSupportFileManager::txFileManager().pathForApplicationFile(ApplicationFile::RootUserFolder)
           + QStringLiteral("/SessionUpload/Int");
}

void OnlineLogController::SetSessionPath(const QString &path)
{
    QMutexLocker lock(&mMutex);
    mSessionPath = path;
}

QString OnlineLogController::SessionPath() const
{
    QMutexLocker lock(&mMutex);
    return mSessionPath;
}

void OnlineLogController::SetOperationSessionFile(const QString &path)
{
    QMutexLocker lock(&mMutex);
    mOperationSessionFile = path;
}

QString OnlineLogController::OperationSessionFile() const
{
    QMutexLocker lock(&mMutex);
    return mOperationSessionFile;
}

void OnlineLogController::SetTempSessionFilelocation(const QString &path)
{
    QMutexLocker lock(&mMutex);
    mTempSessionFilelocation = path;
}

QString OnlineLogController::TempSessionFilelocation() const
{
    QMutexLocker lock(&mMutex);
    return mTempSessionFilelocation;
}

void OnlineLogController::OperationState(int state)
{
    QString folder;
    {
        QMutexLocker lock(&mMutex);
        mState = state;
        folder = mTempSessionFilelocation;
    }
    if (state == 1 && !folder.isEmpty() && QFileInfo::exists(folder))
        removeItemRecursively(folder);
}

int OnlineLogController::state() const
{
    QMutexLocker lock(&mMutex);
    return mState;
}
