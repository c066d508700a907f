#include "platform/ShellPattern.h"

#include <clocale>
#include <string>

#include <gtest/gtest.h>

TEST(ShellPatternTest, MatchesCharactersNotBytesWhateverTheProcessLocale)
{
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    std::setlocale(LC_ALL, "C");

    EXPECT_TRUE(ShellPattern::shellPatternMatches(QString::fromUtf8("é"), "?", false));
    EXPECT_TRUE(
        ShellPattern::shellPatternMatches(QString::fromUtf8("Übersicht.PDF"), QString::fromUtf8("üBER*.pdf"), true));
    EXPECT_FALSE(
        ShellPattern::shellPatternMatches(QString::fromUtf8("Übersicht.PDF"), QString::fromUtf8("über*.pdf"), false));
    EXPECT_TRUE(ShellPattern::shellPatternMatches(QString::fromUtf8("日本/x"), QString::fromUtf8("日?/*"), false));

    EXPECT_EQ(std::string(std::setlocale(LC_ALL, nullptr)), "C");  // the process locale is left alone
    std::setlocale(LC_ALL, saved.c_str());
}
