#include "common/logging/OnlineLogController.h"

#include "common/context/ProgramContext.h"
#include "common/files/TXSupportFileManager.h"
#include "platform/ItemRemoval.h"

#include <QFileInfo>

void OnlineLogController::store(QString &field, const QString &value)
{
    QMutexLocker lock(&mMutex);
    field = value;
}

QString OnlineLogController::load(const QString &field) const
{
    QMutexLocker lock(&mMutex);
    return field;
}

OnlineLogController &OnlineLogController::SharedOnlineLogController() { return ProgramContext::current().onlineLog(); }

void OnlineLogController::setOperationStartTime(const QString &startTime) { store(mOperationStartTime, startTime); }

QString OnlineLogController::operationStartTime() const { return load(mOperationStartTime); }

void OnlineLogController::setOperationStatus(const QString &status) { store(mOperationStatus, status); }

QString OnlineLogController::operationStatus() const { return load(mOperationStatus); }

QString OnlineLogController::userSessionUploadPath()
{
    return TXSupportFileManager::txFileManager().pathForApplicationFile(ApplicationFile::RootUserFolder) +
           QStringLiteral("/SessionUpload/Int");
}

void OnlineLogController::SetSessionPath(const QString &path) { store(mSessionPath, path); }

QString OnlineLogController::SessionPath() const { return load(mSessionPath); }

void OnlineLogController::SetOperationSessionFile(const QString &path) { store(mOperationSessionFile, path); }

QString OnlineLogController::OperationSessionFile() const { return load(mOperationSessionFile); }

void OnlineLogController::SetTempSessionFilelocation(const QString &path) { store(mTempSessionFilelocation, path); }

QString OnlineLogController::TempSessionFilelocation() const { return load(mTempSessionFilelocation); }

void OnlineLogController::OperationState(int state)
{
    QString folder;
    {
        QMutexLocker lock(&mMutex);
        mState = state;
        folder = mTempSessionFilelocation;
    }
    if (state == 1 && !folder.isEmpty() && QFileInfo::exists(folder))
        ItemRemoval::removeItemRecursively(folder);
}

int OnlineLogController::state() const
{
    QMutexLocker lock(&mMutex);
    return mState;
}
