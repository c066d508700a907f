#pragma once

#include <QByteArray>
#include <QList>
#include <QVariantMap>

// Reads a web-service reply into the attribute dictionaries of its elements,
// in document order; elements without attributes add nothing.
class QLXMLParserController
{
public:
    explicit QLXMLParserController(QByteArray data)
        : mData(std::move(data))
    {}

    // Parses the reply; false, with no items, when it is not well-formed XML.
    bool parseXML();
    const QList<QVariantMap> &iTemArray() const { return mItemArray; }

private:
    QByteArray mData;
    QList<QVariantMap> mItemArray;
};
