#include "desktop/logs/LogParseOperation.h"

#include <QXmlStreamReader>

std::optional<QList<LogNode>> LogParseOperation::parsedData() const
{
    QList<LogNode> records;
    std::optional<LogNode> recordNode;
    QString text;
    QXmlStreamReader reader(xmlData);
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement: {
            const QString name = reader.name().toString().toLower();
            if (name == QLatin1String("records"))
                break;
            if (name == QLatin1String("record"))
                recordNode = LogNode();
            text.clear();
            break;
        }
        case QXmlStreamReader::Characters:
            text += reader.text();
            break;
        case QXmlStreamReader::EndElement: {
            const QString name = reader.name().toString().toLower();
            if (name == QLatin1String("records"))
                break;
            if (name == QLatin1String("record")) {
                if (recordNode)
                    records.append(*recordNode);
                recordNode.reset();
            } else if (recordNode) {
                recordNode->setField(name, text);
            }
            text.clear();
            break;
        }
        default:
            break;
        }
    }
    if (reader.hasError())
        return std::nullopt;
    return records;
}
