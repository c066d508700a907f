#pragma once

#include <QString>

// The keys of the dictionary that a desktop notification message (type 1)
// carries from the backup daemon to the monitor, and of the monitor's own
// status summary in the same window.
namespace DesktopNotificationKeys {

inline const QString kShouldForceHide = QStringLiteral("ShouldForceHide");
inline const QString kErrorMessage = QStringLiteral("ErrorMessage");
inline const QString kAccountType = QStringLiteral("AccountType");
inline const QString kPercentageQuota = QStringLiteral("PercentageQuota");
inline const QString kUsedQuota = QStringLiteral("UsedQuota");
inline const QString kTotalQuota = QStringLiteral("TotalQuota");
inline const QString kNextScheduledItem = QStringLiteral("NextScheduledItem");
inline const QString kStatusMessage = QStringLiteral("StatusMessage");
inline const QString kSuccessCount = QStringLiteral("SuccessCount");
inline const QString kSyncFileCount = QStringLiteral("SyncFileCount");
inline const QString kFailureCount = QStringLiteral("FailureCount");
inline const QString kTotalCount = QStringLiteral("TotalCount");
inline const QString kUsername = QStringLiteral("Username");
inline const QString kSessionLogPath = QStringLiteral("SessionLogPath");

}  // namespace DesktopNotificationKeys
