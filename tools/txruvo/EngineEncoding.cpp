#include "txruvo/EngineEncoding.h"

namespace {

const QString kPrefix = QStringLiteral("TXE1:");
constexpr auto kBase64Options = QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals;

// Mixing is its own inverse.
QByteArray mixed(QByteArray bytes)
{
    for (qsizetype i = 0; i < bytes.size(); ++i)
        bytes[i] = char(quint8(bytes.at(i)) ^ quint8(0x5A + 7 * i));
    return bytes;
}

}  // namespace

QString EngineEncoding::encode(const QString &text)
{
    return kPrefix + QString::fromLatin1(mixed(text.toUtf8()).toBase64(kBase64Options));
}

std::optional<QString> EngineEncoding::decode(const QString &encoded)
{
    if (!encoded.startsWith(kPrefix))
        return std::nullopt;
    const auto decoded = QByteArray::fromBase64Encoding(encoded.mid(kPrefix.size()).toLatin1(),
                                                        kBase64Options | QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        return std::nullopt;
    return QString::fromUtf8(mixed(*decoded));
}
