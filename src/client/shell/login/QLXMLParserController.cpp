#include "client/shell/login/QLXMLParserController.h"

#include "common/webservice/URLRequest.h"
#include "platform/BoundedXmlReader.h"

bool QLXMLParserController::parseXML()
{
    mItemArray.clear();
    BoundedXmlReader reader(mData, URLRequest::kDefaultMaxReplyBytes);
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement || reader.token().attributes().isEmpty())
            continue;
        QVariantMap attributes;
        for (const QXmlStreamAttribute &attribute : reader.token().attributes())
            attributes.insert(attribute.qualifiedName().toString(), attribute.value().toString());
        mItemArray.append(attributes);
    }
    // A reply cut short or garbled is no answer at all, not the part before the fault.
    if (reader.hasError())
        mItemArray.clear();
    return !reader.hasError();
}
