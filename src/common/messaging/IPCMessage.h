#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <QVariantList>

#include <optional>

// The message between the client and the monitor: exactly four items,
// [payload (a text or a dictionary), type as decimal text, sender's own name,
// sender's remote name], carried as a binary property list.
namespace IPCMessage {

inline constexpr qsizetype kItemCount = 4;

// None when the payload is neither a text nor a dictionary.
std::optional<QVariantList> build(const QVariant &payload, int type, const QString &localName,
                                  const QString &remoteName);

QByteArray encode(const QVariantList &message);

// The message carried by the bytes; none, with the reason, when the bytes are
// not a binary property list of the four items.
std::optional<QVariantList> decode(const QByteArray &bytes, QString *reason);

}  // namespace IPCMessage
