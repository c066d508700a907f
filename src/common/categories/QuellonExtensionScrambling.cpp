#include "common/categories/QuellonExtension.h"

#include <QByteArray>

#include <algorithm>

namespace quellonExtension {
namespace {

// Every unit of the classic form is even, so a text that begins with this odd
// unit can only be the lossless form.
constexpr char16_t kLosslessMarker = u'#';

// The classic form doubles each unit. It is kept for a unit only when doubling
// is undone exactly and gives a character a plist can store: not a surrogate,
// not a control code, not U+FFFE or U+FFFF.
bool classicFormKeeps(QChar character)
{
    const char16_t unit = character.unicode();
    return (unit >= 0x0010 && unit <= 0x6BFF) || (unit >= 0x7000 && unit <= 0x7FFE);
}

QString classicScrambled(const QString &text)
{
    QString scrambled(text.size(), Qt::Uninitialized);
    std::transform(text.cbegin(), text.cend(), scrambled.begin(),
                   [](QChar c) { return QChar(char16_t(c.unicode() << 1)); });
    return scrambled;
}

QString classicUnscrambled(const QString &text)
{
    QString plain(text.size(), Qt::Uninitialized);
    std::transform(text.cbegin(), text.cend(), plain.begin(),
                   [](QChar c) { return QChar(char16_t(c.unicode() >> 1)); });
    return plain;
}

// One-bit rotations of a byte: a bijection, so every byte value survives.
char rotatedLeft(char byte)
{
    const auto value = static_cast<unsigned char>(byte);
    return static_cast<char>((value << 1) | (value >> 7));
}

char rotatedRight(char byte)
{
    const auto value = static_cast<unsigned char>(byte);
    return static_cast<char>((value >> 1) | (value << 7));
}

// The UTF-16 units themselves (big-endian), so that even a lone surrogate survives.
QString losslessScrambled(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(text.size() * 2);
    for (QChar c : text) {
        bytes.append(rotatedLeft(char(c.unicode() >> 8)));
        bytes.append(rotatedLeft(char(c.unicode() & 0xFF)));
    }
    return QChar(kLosslessMarker) + QString::fromLatin1(bytes.toBase64());
}

// The text of the lossless form, or a null string when the text is not one.
QString losslessUnscrambled(const QString &text)
{
    if (text.isEmpty() || text.front() != QChar(kLosslessMarker))
        return {};
    const auto decoded =
        QByteArray::fromBase64Encoding(text.mid(1).toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded || decoded.decoded.size() % 2 != 0)
        return {};
    const QByteArray &bytes = decoded.decoded;
    QString plain(bytes.size() / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < plain.size(); ++i) {
        const auto high = static_cast<unsigned char>(rotatedRight(bytes[2 * i]));
        const auto low = static_cast<unsigned char>(rotatedRight(bytes[2 * i + 1]));
        plain[i] = QChar(char16_t((high << 8) | low));
    }
    return plain.isNull() ? QStringLiteral("") : plain;
}

}  // namespace

QString encryptedString(const QString &text)
{
    if (std::all_of(text.cbegin(), text.cend(), classicFormKeeps))
        return classicScrambled(text);
    return losslessScrambled(text);
}

QString decryptedString(const QString &text)
{
    const QString lossless = losslessUnscrambled(text);
    return lossless.isNull() ? classicUnscrambled(text) : lossless;
}

}  // namespace quellonExtension
