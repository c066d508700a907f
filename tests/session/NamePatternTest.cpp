#include "session/filtering/NamePattern.h"

#include "common/categories/QLRegExpMatcherCategory.h"
#include "platform/ShellPattern.h"

#include <gtest/gtest.h>

// A prepared partial-name wildcard must decide every path as shell matching
// of the same wildcard does: the matching of partial names depends on it.

namespace {

struct PatternCase
{
    const char *pattern;  // as written, or a partial-name entry when wrapped
    bool wrapped;         // made from an entry as the exclusion settings make it
    std::vector<const char *> paths;
};

const PatternCase kCases[] = {
    {"tmp", true, {"/h/tmp", "/h/TMP.txt", "/h/aTmPb/c", "/h/tm", "/h/t/mp", ""}},
    {"a?c", true, {"/h/a--c", "/h/ac", "/h/c-a", "/h/A/C"}},
    {"*.tmp", true, {"/h/x.tmp", "/h/x.TMP/y", "/h/xtmp", "/h/.tmp"}},
    {"a\\b", true, {"/h/a\\b", "/h/ab", "/h/a/b"}},
    {"x_y|z", true, {"/h/x_y|z", "/h/x_y", "/h/xzy|z"}},
    {"caf\xC3\xA9", true, {"/h/CAF\xC3\x89", "/h/cafe", "/h/caf\xC3\xA9s"}},
    {"ab*ab", true, {"/h/ab", "/h/abab", "/h/ab-x-ab", "/h/aab"}},
    {"file[12]", true, {"/h/file1", "/h/file3", "/h/FILE2x"}},
    {"[", true, {"/h/[", "/h/a"}},
    {"abc", false, {"abc", "ABC", "abcd", "xabc", ""}},
    {"a*", false, {"a", "Ab/c", "ba"}},
    {"*a", false, {"a", "b/A", "ab"}},
    {"a*a", false, {"a", "aa", "aba", "ab"}},
    {"", false, {"", "a"}},
    {"*", false, {"", "/x"}},
    {"\\*x", false, {"*x", "ax", "*X"}},
    {"x\\", false, {"x\\", "x"}},
};

TEST(NamePatternTest, DecidesAsShellMatchingDoes)
{
    for (const PatternCase &c : kCases) {
        const QString entry = QString::fromUtf8(c.pattern);
        const QString wildcard = c.wrapped ? QLRegExpMatcher::escapedPattern(entry) : entry;
        const NamePattern pattern(wildcard);
        for (const char *text : c.paths) {
            const QString path = QString::fromUtf8(text);
            EXPECT_EQ(pattern.matches(path), ShellPattern::shellPatternMatches(path, wildcard, true))
                << "wildcard " << wildcard.toStdString() << " on " << text;
        }
    }
}

}  // namespace
