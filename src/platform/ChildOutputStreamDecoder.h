#pragma once

#include <QByteArray>
#include <QString>

// Decodes a child's output as it arrives in pieces. A UTF-8 character cut
// at the end of one piece waits for the bytes that complete it, however late
// they come; text that is not UTF-8 is read as Mac Roman, as
// decodeChildOutput does for whole texts.
class ChildOutputStreamDecoder
{
public:
    // The text of the new bytes, holding back an incomplete UTF-8 character at their end.
    QString decode(const QByteArray &bytes);
    // Everything held back, read as it stands (UTF-8, else Mac Roman); for the end of the output.
    QString flush();

private:
    QByteArray mPending;
};
