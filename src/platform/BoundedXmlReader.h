#pragma once

#include <QByteArray>
#include <QString>
#include <QXmlStreamReader>

// Reads an XML document token by token, as QXmlStreamReader does, for the
// documents this program takes from outside (web replies, day files). None of
// them ever carries a document type, whose own entities could expand a small
// document into gigabytes: the first document-type token fails the reading.
// The text handed out (character data and attribute values) is capped too:
// without a document type, an honest document has no more characters of text
// than bytes.
class BoundedXmlReader
{
public:
    BoundedXmlReader(const QByteArray &document, qint64 maxDecodedCharacters);

    QXmlStreamReader::TokenType readNext();
    bool atEnd() const { return mReader.atEnd(); }
    bool hasError() const { return mReader.hasError(); }
    QString errorString() const { return mReader.errorString(); }
    QXmlStreamReader::Error error() const { return mReader.error(); }

    // The current token, as QXmlStreamReader gives it.
    const QXmlStreamReader &token() const { return mReader; }

private:
    QXmlStreamReader mReader;
    qint64 mMaxDecodedCharacters;
    qint64 mDecodedCharacters = 0;
};
