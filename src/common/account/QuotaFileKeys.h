#pragma once

#include <QString>

// The keys of the quota file the client writes after each quota answer and the
// error report and the monitor read: both sizes in MB, scrambled.
namespace QuotaFileKeys {

inline const QString kTotalQuotaSize = QStringLiteral("TOTALQUOTASIZE");
inline const QString kUsedQuotaSize = QStringLiteral("USEDQUOTASIZE");

}  // namespace QuotaFileKeys
