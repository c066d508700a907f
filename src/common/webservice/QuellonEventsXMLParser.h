#pragma once

#include <QByteArray>
#include <QVariantMap>

class QuellonEventsXMLParserDelegate;

// Reads an XML reply of the web services as a stream of events, at once on the
// calling thread: the attributes of each "tree", "accountconfigure" or "root"
// element go to the delegate when the element ends; a reply that is not
// well-formed ends with a parse error.
class QuellonEventsXMLParser
{
public:
    void setDelegate(QuellonEventsXMLParserDelegate *delegate) { mDelegate = delegate; }

    void parseXMLFile(const QByteArray &data);

    void setParseData(const QByteArray &data) { mParseData = data; }
    const QByteArray &parseData() const { return mParseData; }

private:
    static bool isReportedElement(QStringView name);

    QuellonEventsXMLParserDelegate *mDelegate = nullptr;
    QVariantMap mMyData;     // the attributes of the last reported element
    QByteArray mParseData;   // a copy of the bytes being parsed
};
