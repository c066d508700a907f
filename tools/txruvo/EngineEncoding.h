#pragma once

#include <QString>

#include <optional>

// The engine's own reversible encoding of passwords and private keys: the
// UTF-8 bytes mixed with a position-dependent key, in unpadded base64url,
// after the prefix "TXE1:". Deterministic, so a login can compare.
namespace EngineEncoding {

QString encode(const QString &text);
// The text an encoded value stands for; none when the value is not one.
std::optional<QString> decode(const QString &encoded);

}  // namespace EngineEncoding
