#pragma once

#include <QByteArray>
#include <QString>
#include <QVariantMap>

// What QuellonEventsXMLParser reports while it reads a reply.
class QuellonEventsXMLParserDelegate
{
public:
    virtual ~QuellonEventsXMLParserDelegate() = default;

    // The attributes of a "tree", "accountconfigure" or "root" element, at its end.
    virtual void parsedData(const QVariantMap &data) = 0;
    // The reply is not well-formed XML: the reason and the bytes that were read.
    virtual void parseError(const QString &error, const QByteArray &data) = 0;
};
