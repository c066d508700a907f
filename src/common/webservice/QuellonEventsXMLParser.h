#pragma once

#include <QByteArray>
#include <QVariantMap>

class QuellonEventsXMLParserDelegate;

// Reads an XML reply of the web services as a stream of events, at once on the
// calling thread, and tells the delegate exactly once: the attributes of the
// first "tree", "accountconfigure" or "root" element, or a parse error for a
// reply that is not well-formed or holds none of them (an HTML error page).
class QuellonEventsXMLParser
{
public:
    static inline const QString kNoAnswerText = QStringLiteral("The reply holds no answer element");

    void setDelegate(QuellonEventsXMLParserDelegate *delegate) { mDelegate = delegate; }

    void parseXMLFile(const QByteArray &data);

    void setParseData(const QByteArray &data) { mParseData = data; }
    const QByteArray &parseData() const { return mParseData; }

private:
    static bool isReportedElement(QStringView name);

    QuellonEventsXMLParserDelegate *mDelegate = nullptr;
    QVariantMap mMyData;    // the attributes of the last reported element
    QByteArray mParseData;  // a copy of the bytes being parsed
};
