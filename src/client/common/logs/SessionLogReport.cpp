#include "client/common/logs/SessionLogReport.h"

#include "common/logging/OnlineLogController.h"
#include "common/utility/QLUtility.h"

SessionLogReport SessionLogReport::of(const QString &operation, int totalFileCount, int syncFileCount,
                                      const QString &sessionLogFilePath, const QString &endTime)
{
    const QString start = OnlineLogController::SharedOnlineLogController().operationStartTime();
    return {operation, totalFileCount, syncFileCount, sessionLogFilePath,
            QLUtility::getSessionDurationWithStartDate(start, endTime)};
}
