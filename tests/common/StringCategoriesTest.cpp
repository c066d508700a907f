#include "common/categories/QLRegExpMatcherCategory.h"
#include "common/categories/QuellonExtension.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace quellonExtension;

TEST(StringCategoriesTest, FolderAndHiddenPathTests)
{
    const struct
    {
        QString folder;
        QString path;
        bool isChild;
    } cases[] = {
        {"/a/b", "/a/b/c", true}, {"/a/b", "/a/b/c/d", true}, {"/a/b", "/a/bc", false},
        {"/a/b", "/a/b", false},  {"/a/b", "/a", false},      {"/a/b", "", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(isChildOfFolder(c.folder, c.path), c.isChild) << c.path.toStdString();

    EXPECT_TRUE(isChildOfHiddenFolder("/Users/x/.Trash/a"));
    EXPECT_TRUE(isChildOfHiddenFolder("/Users/x/.profile"));
    EXPECT_FALSE(isChildOfHiddenFolder("/Users/x/a.b/c"));
}

TEST(StringCategoriesTest, TrimmingAndPathComponents)
{
    EXPECT_EQ(quellonExtension::removeTrailingCharacter("abc/"), "abc");
    EXPECT_EQ(quellonExtension::removeTrailingCharacter(""), "");
    EXPECT_EQ(removeLeadingCharacter("/abc"), "abc");
    EXPECT_EQ(removeLeadingCharacter(""), "");
    EXPECT_EQ(trimFirstLastCharacters("\"quoted value\""), "quoted value");
    EXPECT_EQ(trimFirstLastCharacters("\"\""), "");
    EXPECT_EQ(trimFirstLastCharacters("x"), "");

    const struct
    {
        QString in;
        QString out;
    } cases[] = {
        {"/a/b/c", "/b/c"}, {"a/b/c", "b/c"}, {"/x", ""}, {"x", ""}, {"", ""}, {"/a/", "/"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(removeFirstPathComponent(c.in), c.out) << c.in.toStdString();
}

TEST(StringCategoriesTest, DoubleQuotesAreDoubledForIndexSql)
{
    EXPECT_EQ(escapeDoubleQuotes(R"(/a/"b"/c)"), R"(/a/""b""/c)");
    EXPECT_EQ(escapeDoubleQuotes("plain"), "plain");
}

TEST(StringCategoriesTest, RequestValuesKeepOnlyAlphanumericsAndFourMarks)
{
    const struct
    {
        QString in;
        QString out;
    } cases[] = {
        {"a b&c=d", "a%20b%26c%3Dd"},
        {"Az09-_.*", "Az09-_.*"},
        {"~,!'\"();:@+$/?%#[]{}<>", "%7E%2C%21%27%22%28%29%3B%3A%40%2B%24%2F%3F%25%23%5B%5D%7B%7D%3C%3E"},
        {QString::fromUtf8("é€"), "%C3%A9%E2%82%AC"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(stringByAddingRFC3875PercentEscapesUsingEncodingForKey(c.in), c.out) << c.in.toStdString();
}

TEST(StringCategoriesTest, ExclusionEntriesBecomeWildcardPatterns)
{
    const struct
    {
        QString entry;
        QString pattern;
    } cases[] = {
        {"a?b", "*a*b*"},     {"*", "**"},  // "***" loses one pair in the single pass
        {"**", "**"},         {"report", "*report*"},
        {"a\\b", "*a\\\\b*"}, {"a|b_c", "*a\\|b\\_c*"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(QLRegExpMatcher::escapedPattern(c.entry), c.pattern) << c.entry.toStdString();
}

TEST(StringCategoriesTest, CountsAreGroupedAndNonPositiveCountsShowZero)
{
    const struct
    {
        QString in;
        QString out;
    } cases[] = {
        {"1234567", "1,234,567"}, {"999", "999"}, {"0", "0"}, {"-5", "0"}, {"many", "0"}, {" 1000 ", "1,000"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(numberFormat(c.in), c.out) << c.in.toStdString();
}

TEST(StringCategoriesTest, IsDirFollowsLinksToFolders)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QDir(dir.path()).mkdir("folder");
    QFile(dir.path() + "/file").open(QIODevice::WriteOnly);
    QFile::link(dir.path() + "/folder", dir.path() + "/link");

    EXPECT_TRUE(removeTrailingCharacter::isDir(dir.path() + "/folder"));
    EXPECT_TRUE(removeTrailingCharacter::isDir(dir.path() + "/link"));
    EXPECT_FALSE(removeTrailingCharacter::isDir(dir.path() + "/file"));
    EXPECT_FALSE(removeTrailingCharacter::isDir(dir.path() + "/missing"));
    EXPECT_FALSE(removeTrailingCharacter::isDir(""));
}
