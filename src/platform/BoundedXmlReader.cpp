#include "platform/BoundedXmlReader.h"

BoundedXmlReader::BoundedXmlReader(const QByteArray &document, qint64 maxDecodedCharacters)
    : mReader(document)
    , mMaxDecodedCharacters(maxDecodedCharacters)
{}

QXmlStreamReader::TokenType BoundedXmlReader::readNext()
{
    const QXmlStreamReader::TokenType type = mReader.readNext();
    switch (type) {
    case QXmlStreamReader::DTD:
        mReader.raiseError(QStringLiteral("a document type is not accepted in this document"));
        return QXmlStreamReader::Invalid;
    case QXmlStreamReader::Characters:
        mDecodedCharacters += mReader.text().size();
        break;
    case QXmlStreamReader::StartElement:
        for (const QXmlStreamAttribute &attribute : mReader.attributes())
            mDecodedCharacters += attribute.value().size();
        break;
    default:
        break;
    }
    if (mDecodedCharacters > mMaxDecodedCharacters) {
        mReader.raiseError(QStringLiteral("the document's text runs past %1 characters").arg(mMaxDecodedCharacters));
        return QXmlStreamReader::Invalid;
    }
    return type;
}
