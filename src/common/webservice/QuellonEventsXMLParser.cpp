#include "common/webservice/QuellonEventsXMLParser.h"

#include "common/webservice/QuellonEventsXMLParserDelegate.h"

#include <QXmlStreamReader>

namespace {

QVariantMap attributeMap(const QXmlStreamAttributes &attributes)
{
    QVariantMap map;
    for (const QXmlStreamAttribute &attribute : attributes)
        map.insert(attribute.qualifiedName().toString(), attribute.value().toString());
    return map;
}

}  // namespace

bool QuellonEventsXMLParser::isReportedElement(QStringView name)
{
    return name == u"tree" || name == u"accountconfigure" || name == u"root";
}

void QuellonEventsXMLParser::parseXMLFile(const QByteArray &data)
{
    mParseData = data;
    QXmlStreamReader reader(data);
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement() && isReportedElement(reader.name()))
            mMyData = attributeMap(reader.attributes());
        else if (reader.isEndElement() && isReportedElement(reader.name()) && mDelegate)
            mDelegate->parsedData(mMyData);
    }
    if (reader.hasError() && mDelegate)
        mDelegate->parseError(reader.errorString(), mParseData);
}
