#include "common/categories/QLRegExpMatcherCategory.h"
#include "common/utility/QLUtility.h"

#include <gtest/gtest.h>

TEST(AddressPatternTest, EmailAddresses)
{
    const struct
    {
        QString text;
        bool isAddress;
    } cases[] = {
        {"ann@example.com", true},
        {"@example.com", true},  // nothing is required before the "@"
        {"ann@example.", true},  // later labels may be empty
        {"ann@mail.example.org", true},
        {"ann@example", false},
        {"ann@.com", false},
        {"ann@x@example.com", false},
        {"ann.example.com", false},
        {"", false},
        {QString(), false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(QLUtility::isEmailID(c.text), c.isAddress) << c.text.toStdString();
}

TEST(AddressPatternTest, ShellPatternsMatchTheWholeTextIgnoringCase)
{
    const struct
    {
        QString text;
        QString pattern;
        bool matches;
    } cases[] = {
        {"Report.PDF", "*.pdf", true},
        {"/Users/x/a", "*a", true},  // "*" crosses "/"
        {"/Users/x/.cache", "*/x/*cache", true},
        {".profile", "*profile", true},  // a leading "." needs no explicit match
        {"/a/b", "/a?b", true},          // "?" matches "/"
        {"Report.PDF", "*.doc", false},
        {"Report.PDF", "Report", false},  // the whole text must match
        {"a*b", "a\\*b", true},
        {"axb", "a\\*b", false},
        {"file1", "file[0-9]", true},
        {QString::fromUtf8("Ärger.txt"), QString::fromUtf8("ä*"), true},
        {QString::fromUtf8("é"), "?", true},  // one character, not one byte
        {"a[b", "a[b", true},                 // an unclosed bracket is taken literally
        {"a", "a\\", false},                  // a trailing backslash escapes nothing
        {"", "", true},
    };
    for (const auto &c : cases)
        EXPECT_EQ(QLUtility::isStringMatchesPattern(c.text, c.pattern), c.matches)
            << c.text.toStdString() << " ~ " << c.pattern.toStdString();
}

TEST(AddressPatternTest, PartialExclusionEntriesMatchThroughTheirPattern)
{
    const struct
    {
        QString path;
        QString entry;
        bool matches;
    } cases[] = {
        {"/Users/x/my_notes.txt", "my_notes", true},
        {"/Users/x/myXnotes.txt", "my_notes", false},  // "_" is literal, not one character
        {"/Users/x/draft-2.doc", "draft?2", true},
        {"/Users/x/a|b", "a|b", true},
        {"/Users/x/a\\b", "a\\b", true},
        {"/Users/x/other", "draft", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(QLUtility::isStringMatchesPattern(c.path, QLRegExpMatcher::escapedPattern(c.entry)), c.matches)
            << c.path.toStdString() << " ~ " << c.entry.toStdString();
}
