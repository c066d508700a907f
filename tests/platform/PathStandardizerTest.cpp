#include "platform/PathStandardizer.h"
#include "support/SandboxFixture.h"

class PathStandardizerTest : public SandboxFixture
{};

TEST_F(PathStandardizerTest, StandardizesTheFormsThePathTableUses)
{
    const struct
    {
        QString in;
        QString out;
    } cases[] = {
        {"~/Logs/", home() + "/Logs"},
        {"~", home()},
        {"/a//b/./c/", "/a/b/c"},
        {"/a/b/../c", "/a/c"},
        {"/../a", "/a"},
        {"a/../../b", "../b"},
        {"/", "/"},
        {"~user/x", "~user/x"},
        {"", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(PathStandardizer::standardizePath(c.in), c.out) << c.in.toStdString();
}
