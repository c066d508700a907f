#pragma once

#include <QString>
#include <QVariantMap>

#include <optional>

// The account's quota and plan as the client stored them, and what the
// monitor makes of them: the quota warning and the status-window details.
namespace QuotaStatus {

struct Quota
{
    double totalMB = 0;
    double usedMB = 0;
};

enum class Plan
{
    Unknown,
    Business,
    Personal
};

// The user's quota plist (key "UserDetailsPath"): each figure scrambled text
// or a plain number, in megabytes; a missing file or value is 0.
Quota getQuotaDetailsForUser(const QString &userName);
// The plan file (key "PlanFilePath"): exactly "Business" or "Personal"; anything else is unknown.
Plan getPlanForUser(const QString &userName);

// Used up when 10 MB or less remain (the remainder rounded to whole megabytes), overdrawn included.
bool isQuotaUsedUp(const Quota &quota);

// "Username", "PercentageQuota" (whole percent as text, "0" without a total),
// "UsedQuota" and "TotalQuota" (formatted sizes) and "AccountType" when the plan is known.
QVariantMap constructDetailsforDesktopNotificationWindowForUser(const QString &userName, const Quota &quota, Plan plan);

}  // namespace QuotaStatus
