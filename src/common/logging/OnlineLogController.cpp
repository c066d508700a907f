#include "common/logging/OnlineLogController.h"

#include "common/context/ProgramContext.h"

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
