#include "fuzz/FuzzTargets.h"

#include "common/messaging/IPCMessage.h"
#include "common/transfer/FileTransferData.h"
#include "common/webservice/QuellonEventsXMLParser.h"
#include "common/webservice/QuellonEventsXMLParserDelegate.h"
#include "common/webservice/ScriptController.h"
#include "engine/parsing/QLSYNCParser.h"
#include "fuzz/ReaderTargets.h"
#include "platform/ImageMetadataReader.h"
#include "platform/KeyedArchive.h"
#include "platform/MessageFraming.h"
#include "platform/PropertyList.h"

#include <QBuffer>

namespace FuzzTargets {
namespace {

// Takes whatever the parser reports and keeps nothing.
class DiscardingParserDelegate : public QuellonEventsXMLParserDelegate
{
public:
    void parsedData(const QVariantMap &) override {}
    void parseError(const QString &, const QByteArray &) override {}
};

void propertyList(const QByteArray &bytes) { PropertyList::fromData(bytes); }

void keyedArchive(const QByteArray &bytes) { KeyedArchive::decode(bytes); }

// A frame as the listener reads it, then its body as the messaging module decodes it.
void message(const QByteArray &bytes)
{
    const auto length = MessageFraming::announcedLength(bytes);
    if (!length || *length > MessageFraming::kMaxMessageBytes)
        return;
    QString reason;
    IPCMessage::decode(bytes.mid(MessageFraming::kHeaderBytes, *length), &reason);
}

// Every line of the text, read as each output type and as an element line.
void engineLine(const QByteArray &bytes)
{
    for (const QString &line : QString::fromUtf8(bytes).split('\n')) {
        for (int type = 0; type <= 10; ++type) {
            FileTransferData record;
            QLSYNCParser::ParseLineStr(line, record, type);
        }
    }
}

void webReply(const QByteArray &bytes)
{
    QString error;
    ScriptController::parsedDataForUser(bytes, &error);
    ScriptController::parsedJSONArray(bytes);
    ScriptController::withSecretsMasked(QString::fromUtf8(bytes));
    DiscardingParserDelegate delegate;
    QuellonEventsXMLParser parser;
    parser.setDelegate(&delegate);
    parser.parseXMLFile(bytes);
}

// An image file's bytes, as the metadata of a backed-up image is read.
void imageMetadata(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    ImageMetadataReader::read(buffer);
}

}  // namespace

const QList<Target> &all()
{
    static const QList<Target> targets{
        {QStringLiteral("property_list"), propertyList},
        {QStringLiteral("keyed_archive"), keyedArchive},
        {QStringLiteral("message"), message},
        {QStringLiteral("engine_line"), engineLine},
        {QStringLiteral("web_reply"), webReply},
        {QStringLiteral("image_metadata"), imageMetadata},
        {QStringLiteral("session_log"), ReaderTargets::sessionLog},
        {QStringLiteral("account_reply"), ReaderTargets::accountReply},
        {QStringLiteral("engine_output"), ReaderTargets::engineOutput},
        {QStringLiteral("plist_values"), ReaderTargets::plistValues},
    };
    return targets;
}

}  // namespace FuzzTargets
