#include "common/categories/QuellonExtension.h"
#include "platform/PropertyList.h"

#include <gtest/gtest.h>

using quellonExtension::decryptedString;
using quellonExtension::encryptedString;

namespace {

QString units(std::initializer_list<char16_t> codes)
{
    QString text;
    for (char16_t code : codes)
        text += QChar(code);
    return text;
}

// Only characters that XML 1.0, and so an XML plist, can hold.
bool isXmlText(const QString &text)
{
    for (char32_t c : text.toUcs4()) {
        const bool allowed = c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
                             (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
        if (!allowed)
            return false;
    }
    return true;
}

TEST(ScramblingTest, StorableTextKeepsTheClassicFormStoredValuesUse)
{
    // Each unit doubled: what earlier versions wrote into the login and key files.
    EXPECT_EQ(encryptedString("Ab1"), units({0x82, 0xC4, 0x62}));
    EXPECT_EQ(encryptedString(QString::fromUtf8("日本")), units({0xCBCA, 0xCE58}));
    EXPECT_EQ(encryptedString(""), "");
    EXPECT_EQ(decryptedString(units({0x82, 0xC4, 0x62})), "Ab1");
}

TEST(ScramblingTest, EveryTextSurvivesStorageInAPlist)
{
    const QString hardTexts[] = {
        "",
        "pass word",
        QString::fromUtf8("日本語のパスワード"),
        QString::fromUtf8("漢字"),                   // U+6F22 would double to a lone surrogate
        QString::fromUtf8("한국어 암호"),            // Hangul, above U+8000
        QString::fromUtf8("key 🔑 emoji 😀"),          // surrogate pairs
        QString::fromUtf8("tab\there\nnew line\r"),  // control codes
        units({0x01, 0x1F, 0x7F}),
        units({0x6C00}),
        units({0x6FFF}),
        units({0x7FFF}),  // edges of the classic form
        units({0x8000, 0xFFFF}),
        units({0xD800}),   // a lone surrogate
        "#not scrambled",  // begins with the lossless marker
        "&<>\"'",
    };
    for (const QString &text : hardTexts) {
        const QString scrambled = encryptedString(text);
        EXPECT_EQ(decryptedString(scrambled), text) << text.toStdString();
        EXPECT_TRUE(isXmlText(scrambled)) << text.toStdString();

        const QVariantMap stored{{"Password", scrambled}};
        const auto readBack = PropertyList::fromData(PropertyList::toData(stored));
        ASSERT_TRUE(readBack) << text.toStdString();
        EXPECT_EQ(decryptedString(readBack->toMap().value("Password").toString()), text) << text.toStdString();
    }
}

TEST(ScramblingTest, TextThatIsNoLosslessFormIsReadTheClassicWay)
{
    // An odd first unit cannot come from the classic form; a broken lossless
    // form is still undone the classic way rather than dropped.
    EXPECT_EQ(decryptedString("#!!"), units({0x11, 0x10, 0x10}));
}

}  // namespace
