#include "desktop/logs/LogParseOperation.h"

#include "platform/BoundedXmlReader.h"

std::optional<QList<LogNode>> LogParseOperation::parsedData() const
{
    if (xmlData.size() > kMaxDayFileBytes)
        return std::nullopt;
    QList<LogNode> records;
    std::optional<LogNode> recordNode;
    QString text;
    BoundedXmlReader reader(xmlData, kMaxDayFileBytes);
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement: {
            const QString name = reader.token().name().toString().toLower();
            if (name == QLatin1String("records"))
                break;
            if (name == QLatin1String("record"))
                recordNode = LogNode();
            text.clear();
            break;
        }
        case QXmlStreamReader::Characters:
            text += reader.token().text();
            break;
        case QXmlStreamReader::EndElement: {
            const QString name = reader.token().name().toString().toLower();
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
    // A file cut short or garbled at its end (an append that never finished)
    // keeps the whole records before the damage; without one it gives nothing.
    if (reader.hasError() && records.isEmpty())
        return std::nullopt;
    return records;
}
