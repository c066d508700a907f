#include "platform/ChildOutputStreamDecoder.h"

#include <QList>
#include <QStringList>

#include <gtest/gtest.h>

// Each case feeds pieces in order ("" is a read that brought nothing) and
// expects the text given after each piece.
TEST(ChildOutputStreamDecoderTest, PiecesAreDecodedAcrossCuts)
{
    const QString eAcute = QString::fromUtf8("\xC3\xA9");
    const QString euro = QString::fromUtf8("\xE2\x82\xAC");
    const QString macRomanRoot = QString(QChar(0x221A));  // Mac Roman 0xC3
    const struct
    {
        const char *name;
        QList<QByteArray> pieces;
        QStringList texts;
    } cases[] = {
        {"whole text", {"[a]\n"}, {"[a]\n"}},
        {"two-byte character cut", {"x\xC3", "\xA9y"}, {"x", eAcute + "y"}},
        {"three-byte character cut twice", {"\xE2", "\x82", "\xAC!"}, {"", "", euro + "!"}},
        {"cut character waiting through reads without bytes", {"x\xC3", "", "\xA9"}, {"x", "", eAcute}},
        {"Mac Roman text", {"caf\x8E\n"}, {QString::fromUtf8("caf\xC3\xA9\n")}},
        {"Mac Roman ending in a lead byte", {"\x8E\xC3"}, {QString::fromUtf8("\xC3\xA9") + macRomanRoot}},
        {"held byte that starts no character", {"a\xC3", " b"}, {"a", macRomanRoot + " b"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ChildOutputStreamDecoder decoder;
        QStringList texts;
        for (const QByteArray &piece : c.pieces)
            texts << decoder.decode(piece);
        EXPECT_EQ(texts, c.texts);
    }
}

TEST(ChildOutputStreamDecoderTest, FlushGivesUpWhatWasHeld)
{
    ChildOutputStreamDecoder decoder;
    EXPECT_EQ(decoder.decode("ok\xE2\x82"), "ok");
    EXPECT_EQ(decoder.flush(), QString::fromUtf8("\u201A\u00C7"));  // E2 82 read as Mac Roman
    EXPECT_EQ(decoder.flush(), "");
}
