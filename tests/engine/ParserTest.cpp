#include "engine/parsing/DeleteHandlerData.h"
#include "engine/parsing/QLSYNCParser.h"
#include "engine/parsing/QuotaHandlerData.h"
#include "engine/parsing/VersionData.h"

#include <gtest/gtest.h>

namespace {

// Records what the parser hands over, in order, as "key=value" texts.
class RecordingHandler : public DataHandler
{
public:
    void Data(const QString &value, const QString &key) override { calls << key + u'=' + value; }
    void ClearData() override
    {
        calls.clear();
        ++clears;
    }
    QStringList calls;
    int clears = 0;
};

struct LineCase
{
    const char *line;
    int type;
    int result;
    QStringList calls;
};

TEST(ParserTest, LinesOfBothFormsAndEveryOutputType)
{
    const LineCase cases[] = {
        // too short, or neither form
        {"", 4, -1, {}},
        {"[", 4, -1, {}},
        {" [D][/a]", 4, -2, {}},
        {"D][/a]", 4, -2, {}},
        {"$x", 4, -2, {}},
        // columns
        {"[D][/a/b]", 4, 0, {"op=D", "fname=/a/b"}},
        {"[D]", 4, -1, {}},
        {"[D][/a/my]file]", 4, 0, {"op=D", "fname=/a/my]file"}},
        {"[D][/x]]y]", 4, 0, {"op=D", "fname=/x]y"}},
        {"[1][2] [3]", 3, 0, {"mod_time=1", "size=2", "ver=3"}},
        {"[1][2] [3]", 4, 0, {"op=1", "fname=2] [3"}},
        {"[a&amp;b][c]", 4, 0, {"op=a&amp;b", "fname=c"}},  // columns are not entity-decoded
        {"[0][10][5][10][5][50][1.5][3][FULL][7][mac][e1][/f]",
         0,
         0,
         {"offset=0", "size=10", "tottrf_sz=5", "tot_sz=10", "cum_size=5", "per=50", "rate_trf=1.5", "remain_time=3",
          "trf_type=FULL", "folder_id=7", "mpc=mac", "enc_name=e1", "fname=/f"}},
        {"[t][1][2][0][/f]", 1, 0, {"mod_time=t", "size=1", "file_ver=2", "in_trash=0", "fname=/f"}},
        {"[rw][1][2][t][/f]", 2, 0, {"perm=rw", "size=1", "file_ver=2", "mod_time=t", "fname=/f"}},
        {"[1024][12]", 5, 0, {"quota_used=1024", "files_count=12"}},
        {"[99][3]", 6, 0, {"folder_size=99", "files_count=3"}},
        {"[0][10][5][10][5][50][1.5][3][FULL][/f]",
         7,
         0,
         {"offset=0", "size=10", "tottrf_sz=5", "tot_sz=10", "cum_size=5", "per=50", "rate_trf=1.5", "remain_time=3",
          "trf_type=FULL", "fname=/f"}},
        {"[t][1][2][0][/f][4][/old]",
         8,
         0,
         {"mod_time=t", "size=1", "file_ver=2", "in_trash=0", "fname=/f", "index=4", "fnameOld=/old"}},
        {"[rw][1][t][/f]", 9, 0, {"perm=rw", "size=1", "mod_time=t", "fname=/f"}},
        {"[a][b]", 10, -1, {}},  // no column list above 9
        // elements
        {R"(<item trf_type="up" trf_rate="12.5"/>)", 5, 0, {"trf_type=up", "trf_rate=12.5"}},
        {R"(<item fname="a b=c" op="deleted"/>)", 4, 0, {"fname=a b=c", "op=deleted"}},
        {R"(<item fname="a&amp;b"/>)", 4, 0, {"fname=a&b"}},
        {R"(<item a="1" b="2">)", 4, 0, {"a=1"}},          // b has no blank or "/>" after it
        {R"(<item a="1" />)", 99, 0, {"a=1"}},             // elements ignore the type
        {R"(<item  a="1"  b=""/>)", 4, 0, {"a=1", "b="}},  // stray blanks are skipped
        {R"(<item x= a="1"/>)", 4, 0, {"a=1"}},            // too short to hold a value
    };
    for (const LineCase &c : cases) {
        SCOPED_TRACE(c.line);
        RecordingHandler handler;
        handler.calls << "stale";
        EXPECT_EQ(QLSYNCParser::ParseLineStr(QString::fromUtf8(c.line), handler, c.type), c.result);
        EXPECT_EQ(handler.clears, 1);
        EXPECT_EQ(handler.calls, c.calls);
    }
}

TEST(ParserTest, EntitiesAreDecodedInOnePass)
{
    const std::pair<QString, QString> cases[] = {
        {"plain", "plain"},
        {"&amp;lt;", "&lt;"},
        {"&apos;&quot;&lt;&gt;", R"('"<>)"},
        {"&#65;&#x41;", "AA"},
        {"&#65x", "Ax"},                                       // the ";" is optional
        {"&#x1F600;", QString::fromUtf8("\xF0\x9F\x98\x80")},  // beyond 16 bits: the whole character
        {"&#zz;", "&#zz;"},
        {"&#zz", "&#zz"},              // nothing is added to a name
        {"&#x110000;", "&#x110000;"},  // no Unicode character: kept
        {"&#xD800;", "&#xD800;"},
        {"&copy; ok", "&copy; ok"},
        {"AT & T", "AT & T"},
        {"a&b;&amp;", "a&b;&"},
    };
    for (const auto &[input, expected] : cases)
        EXPECT_EQ(QLSYNCParser_Private::stringByDecodingXMLEntities(input), expected) << input.toStdString();
}

TEST(ParserTest, RecordsTakeTheirKeysAndClearOnARejectedLine)
{
    DeleteHandlerData deleted;
    ASSERT_EQ(QLSYNCParser::ParseLineStr(R"(<d op="deleted" fname="/a" tot_items_deleted="3" other="x"/>)", deleted, 4),
              0);
    EXPECT_EQ(deleted.operationStatus(), "deleted");
    EXPECT_EQ(deleted.fileName(), "/a");
    EXPECT_EQ(deleted.totalItemsDeleted(), "3");
    EXPECT_EQ(QLSYNCParser::ParseLineStr("x", deleted, 4), -1);
    EXPECT_TRUE(deleted.operationStatus().isNull());
    EXPECT_TRUE(deleted.fileName().isNull());

    QuotaHandlerData quota;
    ASSERT_EQ(
        QLSYNCParser::ParseLineStr(R"(<quota usedquota="1024" totalquota="5368709120" filecount="12"/>)", quota, 5), 0);
    EXPECT_EQ(quota.usedQuota(), "1024");
    EXPECT_EQ(quota.totalQuota(), "5368709120");
    EXPECT_EQ(quota.totalFilesCount(), "12");
    ASSERT_EQ(QLSYNCParser::ParseLineStr("[1024][12]", quota, 5), 0);
    EXPECT_EQ(quota.usedQuota(), "1024");
    EXPECT_EQ(quota.totalFilesCount(), "12");
    EXPECT_TRUE(quota.totalQuota().isNull());
    EXPECT_EQ(QLSYNCParser::ParseLineStr("quota", quota, 5), -2);
    EXPECT_TRUE(quota.usedQuota().isNull());

    VersionData version;
    version.setVersionID(4);
    ASSERT_EQ(QLSYNCParser::ParseLineStr("[2024/01/02 10:00:00][1536.5 B][3]", version, 3), 0);
    EXPECT_EQ(version.LMD(), "2024/01/02 10:00:00");
    EXPECT_DOUBLE_EQ(version.SizeinBytes(), 1536.5);  // the number the text begins with
    EXPECT_TRUE(version.size().isNull());             // the display size is the reader's
    EXPECT_EQ(version.version(), "3");
    EXPECT_FALSE(version.versionID().has_value());
    ASSERT_EQ(QLSYNCParser::ParseLineStr("[t][none][1]", version, 3), 0);
    EXPECT_DOUBLE_EQ(version.SizeinBytes(), 0);
}

}  // namespace
