#include "common/utility/QLUtility.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

TEST(SizeFormattingTest, WorkedValues)
{
    const struct
    {
        quint64 bytes;
        const char *outline;
        const char *asString;
        const char *bits;
    } cases[] = {
        {0, "0 B", "0 B", "50 Kb"},
        {1, "1 B", "1 B", "8 B"},
        {100, "100 B", "100 B", "800 B"},
        {1023, "1023 B", "1023 B", "7.99 Kb"},
        {1024, "1.00 KB", "1 KB", "8 Kb"},
        {1536, "1.50 KB", "1.5 KB", "12 Kb"},
        {1600, "1.56 KB", "1.56 KB", "12.5 Kb"},
        {2048, "2.00 KB", "2 KB", "16 Kb"},
        {10000, "9.77 KB", "9.77 KB", "78.13 Kb"},
        {1048575, "1024.00 KB", "1024 KB", "8 Mb"},
        {1048576, "1.00 MB", "1 MB", "8 Mb"},
        {1500000, "1.43 MB", "1.43 MB", "11.44 Mb"},
        {1572864, "1.50 MB", "1.5 MB", "12 Mb"},
        {10485760, "10.00 MB", "10 MB", "80 Mb"},
        {1073741823, "1024.00 MB", "1024 MB", "8 Gb"},
        {1073741824, "1.00 GB", "1 GB", "8 Gb"},
        {5000000000, "4.66 GB", "4.66 GB", "37.25 Gb"},
        {1073741824000, "1000.00 GB", "1000 GB", "8000 Gb"},
        {1099511627776, "1024.00 GB", "1024 GB", "8192 Gb"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(QLUtility::formatedFileSizeForOutlineView(double(c.bytes)), c.outline) << c.bytes;
        EXPECT_EQ(QLUtility::formatedFileSizeAsString(c.bytes), c.asString) << c.bytes;
        EXPECT_EQ(QLUtility::formatedFileSizeInBits(c.bytes), c.bits) << c.bytes;
    }
}

TEST(SizeFormattingTest, RoundingEdgesAreExact)
{
    // 1152 bytes are exactly 1.125 KB: the outline rounds the tie to even, the
    // decimal formatters away from zero.
    EXPECT_EQ(QLUtility::formatedFileSizeForOutlineView(1152), "1.12 KB");
    EXPECT_EQ(QLUtility::formatedFileSizeAsString(1152), "1.13 KB");
    EXPECT_EQ(QLUtility::formatedFileSizeAsString(1029), "1 KB");     // 1.0048828125
    EXPECT_EQ(QLUtility::formatedFileSizeAsString(1030), "1.01 KB");  // 1.005859375
    // Either side of a half hundredth of a GB near the largest count, where a
    // double could not tell the two apart.
    constexpr quint64 largest = std::numeric_limits<quint64>::max();
    EXPECT_EQ(QLUtility::formatedFileSizeAsString(largest), "17179869184 GB");
    EXPECT_EQ(QLUtility::formatedFileSizeAsString(largest - 5368708), "17179869184 GB");
    EXPECT_EQ(QLUtility::formatedFileSizeAsString(largest - 5368709), "17179869183.99 GB");
    EXPECT_EQ(QLUtility::formatedFileSizeInBits(largest), "137438953472 Gb");  // no wrap at 64 bits
    EXPECT_EQ(QLUtility::formatedFileSizeInBits(quint64(1) << 61), "17179869184 Gb");
}

TEST(SizeFormattingTest, MissingSizesAndNonNumbers)
{
    EXPECT_EQ(QLUtility::formatedFileSizeAsString(std::nullopt), "0 B");
    EXPECT_EQ(QLUtility::formatedFileSizeInBits(std::nullopt), "1 B");
    EXPECT_EQ(QLUtility::formatedFileSizeForOutlineView(std::nan("")), "");
    EXPECT_EQ(QLUtility::formatedFileSize(5), 5u);
}
