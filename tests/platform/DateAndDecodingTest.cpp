#include "platform/ChildOutputDecoder.h"
#include "platform/DateFormat.h"

#include <QDateTime>

#include <gtest/gtest.h>

TEST(DateFormatTest, FormatsAndParsesUnicodePatternsAsWritten)
{
    const QDateTime when(QDate(2024, 3, 5), QTime(14, 7, 9));
    EXPECT_EQ(DateFormat::format(when, "LL-d-yyyy-H-m-s"), "03-5-2024-14-7-9");
    EXPECT_EQ(DateFormat::format(when, "LL/dd/yyyy hh:mm:ss a").left(19), "03/05/2024 02:07:09");

    const QString logDate = DateFormat::format(when, "EEE LLL d yyyy h:m:s a");
    EXPECT_TRUE(logDate.contains("2024 2:7:9")) << logDate.toStdString();
    EXPECT_EQ(DateFormat::parse(logDate, "EEE LLL d yyyy h:m:s a"), when);

    EXPECT_FALSE(DateFormat::parse("not a date", "LL/dd/yyyy hh:mm:ss a").isValid());
}

TEST(ChildOutputDecoderTest, DecodesUtf8AndFallsBackToMacRoman)
{
    EXPECT_EQ(ChildOutputDecoder::decodeChildOutput(QByteArray("caf\xc3\xa9 \xe6\x97\xa5")),
              QString::fromUtf8("café 日"));
    // 0x8E is "é" and 0xA5 is "•" in Mac Roman, and neither is valid UTF-8 alone.
    EXPECT_EQ(ChildOutputDecoder::decodeChildOutput(QByteArray("caf\x8e \xa5")), QString::fromUtf8("café •"));
    EXPECT_EQ(ChildOutputDecoder::decodeChildOutput(QByteArray()), QString());
}

TEST(ChildOutputDecoderTest, EachLineIsDecodedOnItsOwn)
{
    // One Mac Roman line does not garble the UTF-8 lines beside it.
    EXPECT_EQ(ChildOutputDecoder::decodeChildOutput(QByteArray("caf\xc3\xa9\ncaf\x8e\n\xe6\x97\xa5")),
              QString::fromUtf8("café\ncafé\n日"));
    EXPECT_EQ(ChildOutputDecoder::decodeChildOutput(QByteArray("\n\n\xa5\n")), QString::fromUtf8("\n\n•\n"));
}
