#include "client/shell/login/LoginValidator.h"
#include "client/shell/login/LoginValidatorDelegateProtocol.h"
#include "client/shell/login/QLXMLParserController.h"
#include "support/SandboxFixture.h"

#include <gtest/gtest.h>

namespace {

using Kind = LoginValidator::Verdict::Kind;

// Records the one answer of a validation.
struct ValidatorAnswers : LoginValidatorDelegateProtocol
{
    QStringList failures;
    void loginValidationSuccessful(const QVariantMap &) override {}
    void loginValidationFailedWithError(const QString &message) override { failures.append(message); }
    void loginFoundAssociatedAccounts(const QStringList &, const QString &) override {}
    void accountConfigurationSuccessful(const QString &) override {}
    void accountConfigurationDidFailWithError(const QString &, const QString &) override {}
};

class LoginValidatorRulesTest : public SandboxFixture
{};

TEST(QLXMLParserControllerTest, AttributeDictionariesInDocumentOrder)
{
    QLXMLParserController parser("<root><a x=\"1\" y=\"two words\"/><b/><c z=\"&amp;\"/></root>");
    ASSERT_TRUE(parser.parseXML());
    ASSERT_EQ(parser.iTemArray().size(), 2);
    EXPECT_EQ(parser.iTemArray()[0].value("y").toString(), "two words");
    EXPECT_EQ(parser.iTemArray()[1].value("z").toString(), "&");

    QLXMLParserController garbled("<root><login message=\"SUCCESS\"</root>");
    EXPECT_FALSE(garbled.parseXML());
    EXPECT_TRUE(garbled.iTemArray().isEmpty());

    // Replies never carry a document type; one with its own entities is no answer.
    QLXMLParserController typed("<!DOCTYPE root [<!ENTITY a \"SUCCESS\">]><root><login message=\"&a;\"/></root>");
    EXPECT_FALSE(typed.parseXML());
    EXPECT_TRUE(typed.iTemArray().isEmpty());
}

TEST_F(LoginValidatorRulesTest, LocalChecksInTheirOrder)
{
    const struct
    {
        const char *user;
        const char *password;
        QString message;
    } cases[] = {
        {"", "", LoginValidator::emptyUserNameMessage()},
        {"   ", "", LoginValidator::emptyUserNameMessage()},  // blanks before the empty password
        {"alice", "", LoginValidator::kEmptyPasswordMessage},
        {"a@@b.com", "pw", LoginValidator::kInvalidUserNameMessage},
        {"@", "pw", LoginValidator::kInvalidUserNameMessage},
    };
    for (const auto &c : cases) {
        LoginValidator validator;
        ValidatorAnswers answers;
        validator.setDelegate(&answers);
        validator.validateLogin(c.user, c.password);
        EXPECT_EQ(answers.failures, QStringList{c.message}) << c.user;
    }
    EXPECT_TRUE(LoginValidator::emptyUserNameMessage().endsWith("127.0.0.1 to subscribe."));
}

TEST_F(LoginValidatorRulesTest, AccountDetailsVerdictFirstRuleWins)
{
    const struct
    {
        const char *reply;
        Kind kind;
        QString message;
    } cases[] = {
        {"", Kind::NoAnswer, {}},
        {"<root></root>", Kind::NoAnswer, {}},
        {"garbage <", Kind::NoAnswer, {}},
        // the old-account rule comes before any status
        {"<root><l acctype=\"QLWIN\" accstat=\"C\" message=\"FAILURE\"/></root>", Kind::Failure,
         LoginValidator::kOldAccountMarker},
        {"<root><l acctype=\"TARNIX\" mappeduser=\"ab\"/></root>", Kind::Failure, LoginValidator::kOldAccountMarker},
        // a refusal before the cancelled status
        {"<root><l acctype=\"QLSYNC\" accstat=\"C\" message=\"FAILURE\" desc=\"passwords do not match\"/></root>",
         Kind::Failure, LoginValidator::kInvalidCredentialsMessage},
        {"<root><l message=\"FAILURE\" desc=\"no such user\"/></root>", Kind::Failure,
         LoginValidator::kGeneralFailureMessage},
        {"<root><l message=\"FAILURE\" desc=\"windows_user\"/></root>", Kind::Failure,
         "Login failed. Error: 'bob' account has been created prior to 11-23-2011. In order to have inter-operable "
         "account between Windows and Mac, sign up for a new Tarnix account."},
        {"<root><l acctype=\"QLSYNC\" accstat=\"C\"/></root>", Kind::Failure,
         "Unable to connect to Tarnix. Reason: Account has been canceled. "},
        {"<root><l acctype=\"QLSYNC\" accstat=\"E\"/></root>", Kind::Failure,
         "Unable to connect to Tarnix.\nReason: Account has expired. "},
        {"<root><l acctype=\"QLSYNC\" accstat=\"M\"/></root>", Kind::Failure,
         "Unable to connect to Tarnix. Reason: Your account is under maintenance. Try later."},
        // an unknown kind ends the login instead of leaving it waiting
        {"<root><l acctype=\"OTHER\" accstat=\"A\"/></root>", Kind::Failure, LoginValidator::kGeneralFailureMessage},
        {"<root><l acctype=\"QLSYNC\" accstat=\"A\"/><m acctype=\"OTHER\"/></root>", Kind::Success, {}},
        {"<root><l acctype=\"TARNIX\" mappeduser=\"a\"/></root>", Kind::Success, {}},
    };
    for (const auto &c : cases) {
        const auto verdict = LoginValidator::judgeAccountDetails(c.reply, "bob");
        EXPECT_EQ(verdict.kind, c.kind) << c.reply;
        EXPECT_EQ(verdict.message, c.message) << c.reply;
    }
}

TEST(LoginValidatorLookupTest, LookupRepliesTable)
{
    const struct
    {
        const char *reply;
        QStringList active;
        QString failure;
    } cases[] = {
        {"Success: alice:Active bob:Cancel\n", {"alice"}, {}},
        {"\nSuccess: alice:Active carol:Active \n", {"alice", "carol"}, {}},
        {"Success: bob:Cancel", {}, LoginValidator::kEmailAccountCanceledMessage},
        {"Success:", {}, LoginValidator::kGeneralFailureMessage},
        {"", {}, LoginValidator::kGeneralFailureMessage},
        {"Not found\n", {}, LoginValidator::kEmailNotFoundMessage},
        {"An Unknown Error Occured.", {}, LoginValidator::kEmailNotFoundMessage},
        {"Error: Not found", {}, LoginValidator::kEmailNotFoundMessage},
        {"not found", {}, LoginValidator::kGeneralFailureMessage},
    };
    for (const auto &c : cases) {
        const auto result = LoginValidator::judgeEmailLookup(c.reply);
        EXPECT_EQ(result.activeUserNames, c.active) << c.reply;
        EXPECT_EQ(result.failure, c.failure) << c.reply;
    }
}

}  // namespace
