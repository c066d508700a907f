#include "client/shell/sidebar/SidebarRules.h"

#include "common/utility/QLUtility.h"
#include "index/IndexQueryKeys.h"

namespace SidebarRules {

namespace {
constexpr qint64 kSizeNotFound = -1;
constexpr qint64 kSizeNotAvailable = -2;
constexpr quint64 kBytesPerKilobyte = 1024;
}  // namespace

std::optional<QString> spaceUsedText(const QVariantMap &output)
{
    bool isNumber = false;
    const qint64 size = output.value(IndexQueryKeys::kFolderSize).toString().toLongLong(&isNumber);
    if (size == kSizeNotFound || size == kSizeNotAvailable)
        return std::nullopt;
    const quint64 known = isNumber && size > 0 ? quint64(size) : 0;
    const quint64 bytes = output.contains(IndexQueryKeys::kFileCount) ? known : known * kBytesPerKilobyte;
    return QStringLiteral("Space used on your device: %1").arg(QLUtility::formatedFileSizeAsString(bytes));
}

bool mayToggleMode(const Activity &activity)
{
    return !activity.backupRunning && !activity.restoreRunning && !activity.reIndexRunning && !activity.searchRunning;
}

QString modeFileText(bool backupMode) { return backupMode ? QStringLiteral("1") : QStringLiteral("0"); }

bool schedulerLineEnablesJobs(const QString &line) { return line == kDisabledSchedulerLine; }

QString switchCueImage(bool backupMode)
{
    return backupMode ? QStringLiteral("txe_visualcue_togglesync.png")
                      : QStringLiteral("txe_visualcue_togglebackup.png");
}

SwitchImages switchImages(bool backupMode)
{
    if (backupMode)
        return {QStringLiteral("txexp_switchico_backupsel.png"), QStringLiteral("txexp_switchbg_backup.png")};
    return {QStringLiteral("txexp_switchico_syncsel.png"), QStringLiteral("txexp_switchbg_sync.png")};
}

}  // namespace SidebarRules
