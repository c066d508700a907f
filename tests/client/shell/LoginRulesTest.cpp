#include "client/shell/account/QuotaReport.h"
#include "client/shell/login/KeyRules.h"
#include "client/shell/login/LoginViewController.h"
#include "common/categories/QuellonExtension.h"
#include "common/login/StoredLoginDetails.h"
#include "common/webservice/WebPageToken.h"
#include "platform/PropertyList.h"
#include "support/SandboxFixture.h"

#include <gtest/gtest.h>

namespace SLD = StoredLoginDetails;

TEST(KeyRulesTest, SetupChecksInTheirOrder)
{
    const QString k255(255, 'k'), k256(256, 'k');
    const struct
    {
        QString key, confirmation, error;
    } cases[] = {
        {"", "", KeyRules::kEnterKey},
        {"abcd", "", KeyRules::kConfirmKey},    // an empty confirmation before a mismatch
        {"abc", "abd", KeyRules::kKeysDiffer},  // a mismatch before the length rules
        {"abc", "abc", KeyRules::kTooShort},
        {"abcd", "abcd", ""},
        {k255, k255, ""},
        {k256, k256, KeyRules::kTooLong},
        {"ab cd", "ab cd", KeyRules::kHasSpaces},
        {"ab\tcd", "ab\tcd", KeyRules::kHasSpaces},
    };
    for (const auto &c : cases)
        EXPECT_EQ(KeyRules::setupKeyError(c.key, c.confirmation), c.error) << c.key.left(8).toStdString();
    EXPECT_EQ(KeyRules::acceptanceKeyError("abc"), KeyRules::kTooShort);
    EXPECT_EQ(KeyRules::acceptanceKeyError(k256), KeyRules::kTooLong);
    EXPECT_EQ(KeyRules::acceptanceKeyError("my key"), KeyRules::kHasSpaces);
    EXPECT_EQ(KeyRules::acceptanceKeyError("mykey"), "");
}

TEST(QuotaReportTest, PercentageFromTheEngineFigures)
{
    const struct
    {
        const char *used, *total;
        int percent;  // -1: no figure at all
    } cases[] = {
        {"0", "5368709120", 0},
        {"1", "5368709120", 1},  // any use rounds up
        {"5368709120", "5368709120", 100},
        {"9000000000", "5368709120", 100},
        {"-5", "5368709120", 0},
        {"1", "0", -1},  // an unknown total gives no figure and no prompt
        {"1", "", -1},
        {"1", "many", -1},
        {"", "1024", 0},
    };
    for (const auto &c : cases) {
        const auto report = QuotaReport::fromEngineOutput({{"usedquota", c.used}, {"totalquota", c.total}});
        EXPECT_EQ(report ? report->percentage() : -1, c.percent) << c.used << " of " << c.total;
    }
}

class QuotaStoreTest : public SandboxFixture
{};

TEST_F(QuotaStoreTest, StoresScrambledMegabytesAndKeepsOtherKeys)
{
    const QString path = root() + "/UserDetails.plist";
    ASSERT_TRUE(PropertyList::write(path, QVariantMap{{"Other", "kept"}}));
    ASSERT_TRUE((QuotaReport{-1048576, 5368709120.0}.store(path)));
    const QVariantMap stored = PropertyList::readDictionary(path);
    EXPECT_EQ(stored.value("Other").toString(), "kept");
    EXPECT_EQ(quellonExtension::decryptedString(stored.value("TOTALQUOTASIZE").toString()), "5120.000000");
    EXPECT_EQ(quellonExtension::decryptedString(stored.value("USEDQUOTASIZE").toString()), "0.000000");
}

TEST_F(QuotaStoreTest, TokenReplyOpensOnlyOnSuccess)
{
    const auto page = WebPageToken::pageForReply("SUCCESS:ab12\n");
    ASSERT_TRUE(page.has_value());
    EXPECT_EQ(page->path(), "/tarnix/desktop/Auto");
    EXPECT_EQ(page->query(), "token=ab12");
    EXPECT_FALSE(WebPageToken::pageForReply("FAILURE:ab12").has_value());
    EXPECT_FALSE(WebPageToken::pageForReply("SUCCESS").has_value());
    EXPECT_FALSE(WebPageToken::pageForReply("SUCCESS:\n").has_value());
}

TEST(UserDetailsTest, StorageServerAndOlderAccountReplies)
{
    const QVariantMap storage{{"acctype", "QLSYNC"},
                              {"Username", "ann"},
                              {"Password", "pw"},
                              {"ruvosrvrip", "10.0.0.1"},
                              {"ruvosrvr", "store.example"},
                              {"ruvowebsrvrip", "10.0.0.2"},
                              {"ruvowebsrvr", "web.example"},
                              {"quota", "5"},
                              {"jspsrvr", "j"}};
    const QVariantMap details = LoginViewController::userDetailsFromReply(storage, true, false);
    EXPECT_EQ(details.value(SLD::kTarnixUsername).toString(), "ann");
    EXPECT_EQ(details.value("ann").toString(), "10.0.0.1");
    EXPECT_EQ(details.value("10.0.0.2").toString(), "web.example");
    EXPECT_EQ(details.value("10.0.0.1").toString(), "store.example");
    EXPECT_EQ(details.value(SLD::kWebServerName).toString(), "10.0.0.2");
    EXPECT_EQ(details.value(SLD::kIsEmailID).toString(), "NO");
    EXPECT_FALSE(details.contains(SLD::kEmailID));
    EXPECT_EQ(details.value(SLD::kRememberDetails).toInt(), 0);
    EXPECT_EQ(quellonExtension::decryptedString(details.value(SLD::kPassword).toString()), "pw");
    // A storage-server account never goes through the local tunnel, whatever SSL says.
    EXPECT_EQ(details.value(SLD::kUserAtServer).toString(), "ann@10.0.0.1::quellon");

    QVariantMap older{{"acctype", "TARNIX"},    {"Username", "bob"}, {"Password", "pw"}, {"mappeduser", "b"},
                      {"mappedpassword", "mp"}, {"server1", "s1"},   {"server2", "s2"},  {"EmailId", "b@x.com"}};
    const QVariantMap olderDetails = LoginViewController::userDetailsFromReply(older, true, true);
    EXPECT_EQ(olderDetails.value(SLD::kUsername).toString(), "b");
    EXPECT_EQ(olderDetails.value(SLD::kTarnixUsername).toString(), "bob");
    EXPECT_EQ(olderDetails.value("b").toString(), "s1");
    EXPECT_EQ(olderDetails.value("s1").toString(), "s2");
    EXPECT_FALSE(olderDetails.contains("s2"));  // no server5: no entry
    EXPECT_EQ(olderDetails.value(SLD::kIsEmailID).toString(), "YES");
    EXPECT_EQ(olderDetails.value(SLD::kUserAtServer).toString(), "b@localhost::quellon");
    EXPECT_EQ(quellonExtension::decryptedString(olderDetails.value(SLD::kPassword).toString()), "mp");
    EXPECT_FALSE(LoginViewController::accountDetailsFromReply(older).value(LoginViewController::kIsRuvo).toBool());
}
