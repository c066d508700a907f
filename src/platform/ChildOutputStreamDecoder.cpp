#include "platform/ChildOutputStreamDecoder.h"

#include "platform/ChildOutputDecoder.h"

#include <QStringDecoder>

namespace {

bool isValidUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder(bytes);
    return !decoder.hasError();
}

// The length of an unfinished UTF-8 sequence at the end of the bytes: a lead
// byte within the last three bytes whose continuation bytes have not all come.
qsizetype incompleteTailLength(const QByteArray &bytes)
{
    for (qsizetype back = 1; back <= 3 && back <= bytes.size(); ++back) {
        const auto byte = quint8(bytes[bytes.size() - back]);
        if ((byte & 0xC0) == 0x80)
            continue;  // a continuation byte: keep looking for its lead byte
        const qsizetype needed = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
        return needed > back ? back : 0;
    }
    return 0;
}

}  // namespace

QString ChildOutputStreamDecoder::decode(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return {};

    QByteArray text = mPending + bytes;
    mPending.clear();
    const qsizetype tail = incompleteTailLength(text);
    // Only a last line that is UTF-8 up to the cut waits for the rest of its character.
    const qsizetype lastLine = text.lastIndexOf('\n') + 1;
    if (tail > 0 && isValidUtf8(QByteArrayView(text).sliced(lastLine, text.size() - tail - lastLine))) {
        mPending = text.right(tail);
        text.chop(tail);
    }
    return ChildOutputDecoder::decodeChildOutput(text);
}

QString ChildOutputStreamDecoder::flush()
{
    const QString text = ChildOutputDecoder::decodeChildOutput(mPending);
    mPending.clear();
    return text;
}
