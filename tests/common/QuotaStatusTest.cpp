// The account's quota and plan as the client stores them, the quota warning and the status-window details.

#include "common/account/QuotaStatus.h"

#include "support/SandboxFixture.h"

#include "common/categories/QuellonExtension.h"
#include "common/texts/QLLocalizedString.h"
#include "platform/PathTemplate.h"
#include "platform/PropertyList.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

using namespace QuotaStatus;

class QuotaStatusTest : public SandboxFixture
{
protected:
    static QString userFile(const QString &key)
    {
        return QDir::cleanPath(PathTemplate::fillTemplate(QLLocalizedString(key), {QStringLiteral("ann")}));
    }
};

TEST_F(QuotaStatusTest, QuotaIsUsedUpWithTenMegabytesOrLessLeft)
{
    struct Case
    {
        double total, used;
        bool usedUp;
    };
    for (const Case c : {Case{100, 89.6, true}, Case{100, 89.4, false}, Case{100, 120, true}, Case{0, 0, true},
                         Case{1024, 0.5, false}})
        EXPECT_EQ(isQuotaUsedUp({c.total, c.used}), c.usedUp) << c.total << " " << c.used;
}

TEST_F(QuotaStatusTest, QuotaFiguresAreReadScrambledOrPlain)
{
    EXPECT_EQ(getQuotaDetailsForUser("ann").totalMB, 0) << "no plist";
    const QString path = userFile("UserDetailsPath");
    QDir().mkpath(QFileInfo(path).absolutePath());
    ASSERT_TRUE(PropertyList::write(
        path, QVariantMap{{"TOTALQUOTASIZE", quellonExtension::encryptedString("1024")}, {"USEDQUOTASIZE", 0.5}}));
    const Quota quota = getQuotaDetailsForUser("ann");
    EXPECT_EQ(quota.totalMB, 1024);
    EXPECT_EQ(quota.usedMB, 0.5);

    const QVariantMap details = constructDetailsforDesktopNotificationWindowForUser("ann", quota, Plan::Business);
    EXPECT_EQ(details.value("PercentageQuota"), "0");
    EXPECT_EQ(details.value("TotalQuota"), "1 GB");
    EXPECT_EQ(details.value("UsedQuota"), "512 KB");
    EXPECT_EQ(details.value("AccountType"), "Business");
    EXPECT_EQ(constructDetailsforDesktopNotificationWindowForUser("ann", {}, Plan::Unknown).value("PercentageQuota"),
              "0")
        << "no total: no division by zero";
    EXPECT_FALSE(
        constructDetailsforDesktopNotificationWindowForUser("ann", quota, Plan::Unknown).contains("AccountType"));
}

TEST_F(QuotaStatusTest, PlanIsTheExactText)
{
    struct Case
    {
        const char *text;
        Plan plan;
    };
    for (const Case c : {Case{"Business", Plan::Business}, Case{"Personal", Plan::Personal},
                         Case{"Business\n", Plan::Unknown}, Case{"business", Plan::Unknown}}) {
        writeText(userFile("PlanFilePath"), c.text);
        EXPECT_EQ(getPlanForUser("ann"), c.plan) << c.text;
    }
    QFile::remove(userFile("PlanFilePath"));
    EXPECT_EQ(getPlanForUser("ann"), Plan::Unknown);
}

}  // namespace
