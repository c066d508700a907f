#include "client/backup/FolderSizeCalculator.h"

#include "common/utility/QLUtility.h"

WalkingFolderSizeCalculator::WalkingFolderSizeCalculator(std::chrono::microseconds pausePerItem)
    : mPausePerItem(pausePerItem)
{
}

QString WalkingFolderSizeCalculator::sizeOfFolder(const QString &diskPath)
{
    if (!QLUtility::isFileExists(diskPath))
        return QStringLiteral("-1");
    return QString::number(QLUtility::calculateSizeOfFile(diskPath, mPausePerItem));
}
