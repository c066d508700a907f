#include "client/shell/login/QLXMLParserController.h"

#include <QXmlStreamReader>

bool QLXMLParserController::parseXML()
{
    mItemArray.clear();
    QXmlStreamReader reader(mData);
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement || reader.attributes().isEmpty())
            continue;
        QVariantMap attributes;
        for (const QXmlStreamAttribute &attribute : reader.attributes())
            attributes.insert(attribute.qualifiedName().toString(), attribute.value().toString());
        mItemArray.append(attributes);
    }
    // A reply cut short or garbled is no answer at all, not the part before the fault.
    if (reader.hasError())
        mItemArray.clear();
    return !reader.hasError();
}
