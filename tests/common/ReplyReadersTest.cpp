#include "common/webservice/QuellonEventsXMLParser.h"
#include "common/webservice/QuellonEventsXMLParserDelegate.h"
#include "common/webservice/ScriptController.h"

#include <gtest/gtest.h>

TEST(ReplyTokensTest, ReadsEveryAttributeWholeWithAnXmlReader)
{
    const struct
    {
        QByteArray reply;
        QVariantMap tokens;
    } cases[] = {
        // The last value keeps nothing of the closing markup.
        {R"(<root><login message="FAILURE" desc="x"/></root>)", {{"message", "FAILURE"}, {"desc", "x"}}},
        // Blanks, "=", escaped quotes and non-ASCII text survive.
        {R"(<root><login message="SUCCESS" password_sync="a b=c &quot;d&quot; é"/></root>)",
         {{"message", "SUCCESS"}, {"password_sync", QString::fromUtf8("a b=c \"d\" é")}}},
        // A later attribute of the same name replaces an earlier one.
        {R"(<root><a k="1"/><b k="2"/></root>)", {{"k", "2"}}},
        // No attribute at all: no "message" is made up.
        {"<root></root>", {}},
    };
    for (const auto &c : cases) {
        QString error;
        const auto tokens = ScriptController::parsedDataForUser(c.reply, &error);
        ASSERT_TRUE(tokens.has_value()) << c.reply.toStdString() << ": " << error.toStdString();
        EXPECT_EQ(*tokens, c.tokens) << c.reply.toStdString();
    }
}

TEST(ReplyTokensTest, MalformedReplyIsAnError)
{
    for (const QByteArray &reply : {QByteArray(R"(<root><login message="SUCCESS"</root>)"),
                                    QByteArray("<root><x a=b/>"), QByteArray("<root><x a=\"1\"/></root")}) {
        QString error;
        EXPECT_FALSE(ScriptController::parsedDataForUser(reply, &error).has_value()) << reply.toStdString();
        EXPECT_FALSE(error.isEmpty());
    }
}

namespace {

// A reply of some 20 KB whose own entity expands to 20 MB of attribute text.
QByteArray expandingReply()
{
    return "<!DOCTYPE root [<!ENTITY big \"" + QByteArray(20000, 'x') +
           "\">]><root><login message=\"SUCCESS\" desc=\"" + QByteArray("&big;").repeated(1000) + "\"/></root>";
}

}  // namespace

TEST(ReplyTokensTest, AReplyWithADocumentTypeFailsAtOnce)
{
    for (const QByteArray &reply : {expandingReply(), QByteArray("<!DOCTYPE root><root message=\"SUCCESS\"/>")}) {
        QString error;
        EXPECT_FALSE(ScriptController::parsedDataForUser(reply, &error).has_value());
        EXPECT_TRUE(error.contains("document type")) << error.toStdString();
    }
}

TEST(ReplyTokensTest, JsonReplyIsAnObjectOrAnArray)
{
    EXPECT_EQ(ScriptController::parsedJSONArray(R"({"a": "b"})"), QVariant(QVariantMap{{"a", "b"}}));
    EXPECT_EQ(ScriptController::parsedJSONArray(R"([1, "x"])"), QVariant(QVariantList{1.0, "x"}));
    EXPECT_FALSE(ScriptController::parsedJSONArray("SUCCESS:token").has_value());
    EXPECT_FALSE(ScriptController::parsedJSONArray("").has_value());
}

namespace {

class ParserRecorder : public QuellonEventsXMLParserDelegate
{
public:
    QList<QVariantMap> parsed;
    QStringList errors;
    QByteArray errorData;

    void parsedData(const QVariantMap &data) override { parsed.append(data); }
    void parseError(const QString &error, const QByteArray &data) override
    {
        errors.append(error);
        errorData = data;
    }
};

TEST(QuellonEventsXMLParserTest, ReportsTheAttributesOfTheKnownElementsAtTheirEnd)
{
    const struct
    {
        QByteArray xml;
        QList<QVariantMap> parsed;
    } cases[] = {
        {R"(<tree a="1" b="two words"><item x="y"/></tree>)", {{{"a", "1"}, {"b", "two words"}}}},
        {R"(<accountconfigure status="ok">text</accountconfigure>)", {{{"status", "ok"}}}},
        {R"(<root message="SUCCESS"/>)", {{{"message", "SUCCESS"}}}},
        {R"(<root><tree a="1"/><tree a="2"/></root>)", {{{"a", "1"}}}},  // one answer per reply
    };
    for (const auto &c : cases) {
        ParserRecorder recorder;
        QuellonEventsXMLParser parser;
        parser.setDelegate(&recorder);
        parser.parseXMLFile(c.xml);
        EXPECT_EQ(recorder.parsed, c.parsed) << c.xml.toStdString();
        EXPECT_TRUE(recorder.errors.isEmpty()) << c.xml.toStdString();
        EXPECT_EQ(parser.parseData(), c.xml);
    }
}

TEST(QuellonEventsXMLParserTest, MalformedReplyGivesTheErrorAndTheBytes)
{
    ParserRecorder recorder;
    QuellonEventsXMLParser parser;
    parser.setDelegate(&recorder);
    parser.parseXMLFile("<tree a=\"1\"><oops></tree>");
    EXPECT_TRUE(recorder.parsed.isEmpty());
    ASSERT_EQ(recorder.errors.size(), 1);
    EXPECT_EQ(recorder.errorData, "<tree a=\"1\"><oops></tree>");
}

TEST(QuellonEventsXMLParserTest, AReplyWithADocumentTypeIsAnError)
{
    ParserRecorder recorder;
    QuellonEventsXMLParser parser;
    parser.setDelegate(&recorder);
    parser.parseXMLFile(expandingReply().replace("<root>", "<tree a=\"1\">").replace("</root>", "</tree>"));
    EXPECT_TRUE(recorder.parsed.isEmpty());
    ASSERT_EQ(recorder.errors.size(), 1);
    EXPECT_TRUE(recorder.errors[0].contains("document type")) << recorder.errors[0].toStdString();
}

TEST(QuellonEventsXMLParserTest, EveryReplyEndsInExactlyOneReport)
{
    const QByteArray replies[] = {
        R"(<html><body><h1>502 Bad Gateway</h1></body></html>)",  // well-formed, but no answer
        R"(<other a="1"/>)",
        R"(<root message="SUCCESS"/><broken)",  // an answer, then broken XML
        R"(<root><tree a="1"/>)",               // cut short after an answer
        "",
    };
    for (const QByteArray &reply : replies) {
        ParserRecorder recorder;
        QuellonEventsXMLParser parser;
        parser.setDelegate(&recorder);
        parser.parseXMLFile(reply);
        EXPECT_TRUE(recorder.parsed.isEmpty()) << reply.toStdString();
        EXPECT_EQ(recorder.errors.size(), 1) << reply.toStdString();
    }
}

TEST(ReplyTokensTest, TracedRepliesKeepNoSecrets)
{
    const QString masked = ScriptController::withSecretsMasked(
        R"(<root><x message="SUCCESS" username_sync="u" password_sync="s p=q" pvtkey='k1' Password=plain/></root>)");
    EXPECT_EQ(
        masked,
        R"(<root><x message="SUCCESS" username_sync="u" password_sync="***" pvtkey="***" Password="***"/></root>)");

    // Secrets in element text and in JSON are masked too.
    EXPECT_EQ(ScriptController::withSecretsMasked(
                  R"(<root><password>s3cret</password><PvtKey kind="x">k</PvtKey><user>ann</user></root>)"),
              R"(<root><password>***</password><PvtKey kind="x">***</PvtKey><user>ann</user></root>)");
    EXPECT_EQ(ScriptController::withSecretsMasked(R"({"user":"ann","password":"a \"quoted\" one","key":42})"),
              R"({"user":"ann","password":"***","key":"***"})");

    // Whatever a secret element holds goes, to its end tag or the end of a reply cut
    // short; a JSON key is read with its escapes decoded.
    const struct
    {
        const char *reply;
        const char *traced;
    } cases[] = {
        {"<r><password><![CDATA[s3cret]]></password><u>ann</u></r>", "<r><password>***</password><u>ann</u></r>"},
        {"<r><Password><v>s3cret</v></Password><u>ann</u></r>", "<r><Password>***</Password><u>ann</u></r>"},
        {"<r><pwd kind=\"x\">s3cret and the rest", "<r><pwd kind=\"x\">***"},
        {"<r><password/><u>ann</u></r>", "<r><password/><u>ann</u></r>"},
        {R"({"pass\u0077ord":"s3cret","user":"ann"})", R"({"pass\u0077ord":"***","user":"ann"})"},
        {R"({"n":{"pvt\u006bey":"s3cret"},"user":"ann"})", R"({"n":{"pvt\u006bey":"***"},"user":"ann"})"},
        {R"({"password":{"v":["s3cret","}"]},"user":"ann"})", R"({"password":"***","user":"ann"})"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ScriptController::withSecretsMasked(c.reply), c.traced) << c.reply;
}

}  // namespace
