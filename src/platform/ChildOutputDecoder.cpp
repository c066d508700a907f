#include "platform/ChildOutputDecoder.h"

#include <QStringDecoder>

#include <unicode/ucnv.h>

namespace {

QString decodeMacRoman(const QByteArray &bytes)
{
    UErrorCode status = U_ZERO_ERROR;
    UConverter *converter = ucnv_open("macintosh", &status);
    if (U_FAILURE(status))
        return QString::fromLatin1(bytes);
    // Every Mac Roman byte is one UTF-16 unit.
    QString result(bytes.size(), Qt::Uninitialized);
    const int32_t length = ucnv_toUChars(converter, reinterpret_cast<UChar *>(result.data()), int32_t(result.size()),
                                         bytes.constData(), int32_t(bytes.size()), &status);
    ucnv_close(converter);
    if (U_FAILURE(status) && status != U_STRING_NOT_TERMINATED_WARNING)
        return QString::fromLatin1(bytes);
    result.truncate(length);
    return result;
}

QString decodeLine(const QByteArray &line)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(line);
    if (!utf8.hasError())
        return text;
    return decodeMacRoman(line);
}

}  // namespace

QString ChildOutputDecoder::decodeChildOutput(const QByteArray &bytes)
{
    QString text;
    qsizetype start = 0;
    while (start < bytes.size()) {
        const qsizetype newline = bytes.indexOf('\n', start);
        const qsizetype end = newline < 0 ? bytes.size() : newline + 1;
        text += decodeLine(bytes.sliced(start, end - start));
        start = end;
    }
    return text;
}
