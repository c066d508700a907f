#include "common/account/QuotaStatus.h"

#include "common/account/QuotaFileKeys.h"
#include "common/categories/QuellonExtension.h"
#include "common/login/UserFiles.h"
#include "common/texts/QLLocalizedString.h"
#include "common/utility/QLUtility.h"
#include "platform/PropertyList.h"

#include <QFile>

#include <cmath>

namespace QuotaStatus {
namespace {

double megabytes(const QVariant &value)
{
    if (value.typeId() == QMetaType::QString)
        return quellonExtension::decryptedString(value.toString()).toDouble();
    return value.toDouble();
}

QString formattedMegabytes(double megabytes)
{
    return QLUtility::formatedFileSizeAsString(quint64(std::max(0.0, megabytes) * 1024 * 1024));
}

}  // namespace

Quota getQuotaDetailsForUser(const QString &userName)
{
    const QVariantMap details =
        PropertyList::readDictionary(UserFiles::path(QStringLiteral("UserDetailsPath"), userName));
    return {megabytes(details.value(QuotaFileKeys::kTotalQuotaSize)),
            megabytes(details.value(QuotaFileKeys::kUsedQuotaSize))};
}

Plan getPlanForUser(const QString &userName)
{
    QFile file(UserFiles::path(QStringLiteral("PlanFilePath"), userName));
    if (!file.open(QIODevice::ReadOnly))
        return Plan::Unknown;
    const QString plan = QString::fromUtf8(file.readAll());
    if (plan == QLatin1String("Business"))
        return Plan::Business;
    if (plan == QLatin1String("Personal"))
        return Plan::Personal;
    return Plan::Unknown;
}

bool isQuotaUsedUp(const Quota &quota) { return std::round(quota.totalMB - quota.usedMB) - 10 <= 0; }

QVariantMap constructDetailsforDesktopNotificationWindowForUser(const QString &userName, const Quota &quota, Plan plan)
{
    // A zero total has no percentage; 0 keeps the level indicator and the upgrade offer quiet.
    const int percentage = quota.totalMB > 0 ? int(quota.usedMB * 100 / quota.totalMB) : 0;
    QVariantMap details{{QStringLiteral("Username"), userName},
                        {QStringLiteral("PercentageQuota"), QString::number(percentage)},
                        {QStringLiteral("UsedQuota"), formattedMegabytes(quota.usedMB)},
                        {QStringLiteral("TotalQuota"), formattedMegabytes(quota.totalMB)}};
    if (plan == Plan::Business)
        details.insert(QStringLiteral("AccountType"), QStringLiteral("Business"));
    else if (plan == Plan::Personal)
        details.insert(QStringLiteral("AccountType"), QStringLiteral("Personal"));
    return details;
}

}  // namespace QuotaStatus
