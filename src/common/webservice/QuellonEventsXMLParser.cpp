#include "common/webservice/QuellonEventsXMLParser.h"

#include "common/webservice/QuellonEventsXMLParserDelegate.h"

#include "common/webservice/URLRequest.h"
#include "platform/BoundedXmlReader.h"

#include <optional>

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
    // The whole reply is read before anything is reported, so that a request
    // ends in exactly one report: the first answer element, or the error.
    BoundedXmlReader reader(data, URLRequest::kDefaultMaxReplyBytes);
    std::optional<QVariantMap> answer;
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType type = reader.readNext();
        const QXmlStreamReader &token = reader.token();
        if (type == QXmlStreamReader::StartElement && isReportedElement(token.name()))
            mMyData = attributeMap(token.attributes());
        else if (type == QXmlStreamReader::EndElement && isReportedElement(token.name()) && !answer)
            answer = mMyData;
    }
    if (!mDelegate)
        return;
    if (reader.hasError())
        mDelegate->parseError(reader.errorString(), mParseData);
    else if (!answer)
        mDelegate->parseError(kNoAnswerText, mParseData);
    else
        mDelegate->parsedData(*answer);
}
