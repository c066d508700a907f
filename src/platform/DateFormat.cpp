#include "platform/DateFormat.h"

#include <unicode/locid.h>
#include <unicode/smpdtfmt.h>
#include <unicode/unistr.h>

#include <memory>

namespace DateFormat {
namespace {

icu::UnicodeString toUnicode(const QString &text)
{
    return icu::UnicodeString(reinterpret_cast<const char16_t *>(text.utf16()), int32_t(text.size()));
}

QString fromUnicode(const icu::UnicodeString &text)
{
    return QString(reinterpret_cast<const QChar *>(text.getBuffer()), text.length());
}

std::unique_ptr<icu::SimpleDateFormat> makeFormatter(const QString &pattern)
{
    UErrorCode status = U_ZERO_ERROR;
    auto formatter = std::make_unique<icu::SimpleDateFormat>(toUnicode(pattern), icu::Locale::getDefault(), status);
    if (U_FAILURE(status))
        return nullptr;
    return formatter;
}

}  // namespace

QString format(const QDateTime &date, const QString &pattern)
{
    auto formatter = makeFormatter(pattern);
    if (!formatter || !date.isValid())
        return {};
    icu::UnicodeString out;
    formatter->format(UDate(date.toMSecsSinceEpoch()), out);
    return fromUnicode(out);
}

QDateTime parse(const QString &text, const QString &pattern)
{
    auto formatter = makeFormatter(pattern);
    if (!formatter)
        return {};
    formatter->setLenient(false);
    UErrorCode status = U_ZERO_ERROR;
    const UDate when = formatter->parse(toUnicode(text), status);
    if (U_FAILURE(status))
        return {};
    return QDateTime::fromMSecsSinceEpoch(qint64(when));
}

}  // namespace DateFormat
