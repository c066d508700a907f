#include "common/messaging/IPCMessage.h"

#include "platform/PropertyList.h"

namespace IPCMessage {
namespace {

const QByteArray kBinaryPlistMagic = QByteArrayLiteral("bplist00");

bool isPayload(const QVariant &value)
{
    const int type = value.typeId();
    return type == QMetaType::QString || type == QMetaType::QVariantMap;
}

bool isText(const QVariant &value) { return value.typeId() == QMetaType::QString; }

// Why the items are not a message, or "" when they are one.
QString shapeProblem(const QVariantList &items)
{
    if (items.size() != kItemCount)
        return QStringLiteral("it holds %1 items instead of %2").arg(items.size()).arg(kItemCount);
    if (!isPayload(items[0]))
        return QStringLiteral("its payload is neither a text nor a dictionary");
    for (qsizetype i = 1; i < kItemCount; ++i) {
        if (!isText(items[i]))
            return QStringLiteral("its item %1 is not a text").arg(i + 1);
    }
    bool isNumber = false;
    items[1].toString().toInt(&isNumber);
    if (!isNumber)
        return QStringLiteral("its type \"%1\" is not a number").arg(items[1].toString());
    return {};
}

}  // namespace

std::optional<QVariantList> build(const QVariant &payload, int type, const QString &localName,
                                  const QString &remoteName)
{
    if (!isPayload(payload))
        return std::nullopt;
    return QVariantList{payload, QString::number(type), localName, remoteName};
}

QByteArray encode(const QVariantList &message) { return PropertyList::toData(message, PropertyList::Format::Binary); }

std::optional<QVariantList> decode(const QByteArray &bytes, QString *reason)
{
    // Only the binary form is taken: the XML parser has no business with a peer's bytes.
    if (!bytes.startsWith(kBinaryPlistMagic)) {
        *reason = QStringLiteral("it is not a binary property list");
        return std::nullopt;
    }
    QString parseError;
    const std::optional<QVariant> root = PropertyList::fromData(bytes, &parseError);
    if (!root) {
        *reason = QStringLiteral("it cannot be read: %1").arg(parseError);
        return std::nullopt;
    }
    if (root->typeId() != QMetaType::QVariantList) {
        *reason = QStringLiteral("it is not a list");
        return std::nullopt;
    }
    const QVariantList items = root->toList();
    *reason = shapeProblem(items);
    if (!reason->isEmpty())
        return std::nullopt;
    return items;
}

}  // namespace IPCMessage
