#include "common/webservice/ScriptController.h"
#include "common/webservice/URLRequest.h"
#include "platform/BoundedXmlReader.h"
#include "platform/ErrorSlot.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

std::optional<QVariantMap> ScriptController::parsedDataForUser(const QByteArray &reply, QString *error)
{
    // A real XML reader: values keep their blanks, "=" and quotes, and nothing of the markup.
    QVariantMap tokens;
    BoundedXmlReader reader(reply, URLRequest::kDefaultMaxReplyBytes);
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        for (const QXmlStreamAttribute &attribute : reader.token().attributes())
            tokens.insert(attribute.qualifiedName().toString(), attribute.value().toString());
    }
    if (reader.hasError()) {
        ErrorSlot::fill(error, reader.errorString());
        return std::nullopt;
    }
    return tokens;
}

std::optional<QVariant> ScriptController::parsedJSONArray(const QByteArray &reply)
{
    const QJsonDocument document = QJsonDocument::fromJson(reply);
    if (document.isObject())
        return document.object().toVariantMap();
    if (document.isArray())
        return document.array().toVariantList();
    return std::nullopt;
}
