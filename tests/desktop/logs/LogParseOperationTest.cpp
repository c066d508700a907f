#include "desktop/logs/LogParseOperation.h"
#include "desktop/logs/LogNode.h"

#include <gtest/gtest.h>

TEST(LogParseOperationTest, ElementNamesInAnyCaseFillTheirFieldsAndOthersAreIgnored)
{
    const auto records = LogParseOperation("<?xml version=\"1.0\"?><Records>"
                                           "<RECORD><DateTime>Dec 08</DateTime><unknown>x</unknown>"
                                           "<content>  two &amp; spaces\n</content><optype>7</optype></RECORD>"
                                           "<record><logname>12-08-2026_cdp</logname></record></Records>")
                             .parsedData();
    ASSERT_TRUE(records.has_value());
    ASSERT_EQ(records->size(), 2);
    EXPECT_EQ(records->at(0).datetime, "Dec 08");
    EXPECT_EQ(records->at(0).content, "  two & spaces\n");  // whitespace is part of the value
    EXPECT_EQ(records->at(0).optypeValue(), 7);
    EXPECT_EQ(records->at(1).logname, "12-08-2026_cdp");
    EXPECT_EQ(records->at(1).datetime, "");
}

TEST(LogParseOperationTest, ABrokenFileGivesItsWholeRecordsBeforeTheDamage)
{
    struct Case
    {
        const char *xml;
        std::optional<QStringList> users;
    };
    const std::vector<Case> cases = {
        {"", std::nullopt},
        {"not xml", std::nullopt},
        {"<records><record><uname>a & b</uname></record></records>", std::nullopt},
        {"<records><record><uname>a</uname></record>", QStringList{"a"}},  // cut after a record
        {"<records><record><uname>a</uname></record><record><uname>b</uname><conte", QStringList{"a"}},
        {"<records><record><uname>a</uname></record><record><uname>b</uname></record><re<", QStringList{"a", "b"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.xml);
        const auto records = LogParseOperation(c.xml).parsedData();
        ASSERT_EQ(records.has_value(), c.users.has_value());
        if (!records)
            continue;
        QStringList users;
        for (const LogNode &record : *records)
            users.append(record.uname);
        EXPECT_EQ(users, *c.users);
    }
}

TEST(LogParseOperationTest, ABrokenFileGivesNothing)
{
    for (const char *xml :
         {"", "not xml", "<records><record><uname>a & b</uname></record></records>",
          "<!DOCTYPE records [<!ENTITY a \"b\">]><records><record><uname>&a;</uname></record></records>"})
        EXPECT_FALSE(LogParseOperation(xml).parsedData().has_value()) << xml;
    EXPECT_FALSE(LogParseOperation("<records>" + QByteArray(LogParseOperation::kMaxDayFileBytes, ' ') + "</records>")
                     .parsedData()
                     .has_value());
}

TEST(LogParseOperationTest, AFileDamagedAtItsEndKeepsItsWholeRecords)
{
    const QByteArray whole = "<records><record><uname>a</uname></record>";
    for (const QByteArray &tail : {QByteArray(), QByteArray("<record><uname>b"),
                                   QByteArray("<record><uname>a & b</uname></record>"), QByteArray("<rec/records>")}) {
        const auto records = LogParseOperation(whole + tail).parsedData();
        ASSERT_TRUE(records.has_value()) << tail.constData();
        ASSERT_EQ(records->size(), 1) << tail.constData();
        EXPECT_EQ(records->at(0).uname, "a");
    }
}

TEST(LogParseOperationTest, OperationNumberAndRewriteForm)
{
    LogNode node;
    for (const auto &[text, value] : {std::pair{"", 0}, {"10", 10}, {" 7x", 7}, {"x7", 0}}) {
        node.optype = text;
        EXPECT_EQ(node.optypeValue(), value) << text;
    }
    node.uname = "a<b";
    node.optype = "";
    EXPECT_EQ(node.flattenSelfToXML(), "<record>\n\t<datetime></datetime>\n\t<uname>a&lt;b</uname>\n\t<files></files>\n"
                                       "\t<filesinsync></filesinsync>\n\t<status></status>\n\t<duration></duration>\n"
                                       "\t<content></content>\n\t<optype>0</optype>\n\t<lpath></lpath>\n"
                                       "\t<logfile></logfile>\n\t<logname></logname>\n</record>\n");
}
