#include "platform/DateFormat.h"

#include <unicode/locid.h>
#include <unicode/smpdtfmt.h>
#include <unicode/unistr.h>

#include <map>
#include <memory>
#include <string>
#include <utility>

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

// Making a formatter costs far more than using one (every trace line formats
// the time), so each thread keeps the ones it made, per pattern and locale. A
// formatter is not safe for use from two threads at once; a thread's own is.
icu::SimpleDateFormat *formatterFor(const QString &pattern)
{
    thread_local std::map<std::pair<QString, std::string>, std::unique_ptr<icu::SimpleDateFormat>> made;
    auto key = std::make_pair(pattern, std::string(icu::Locale::getDefault().getName()));
    auto found = made.find(key);
    if (found == made.end())
        found = made.emplace(std::move(key), makeFormatter(pattern)).first;
    return found->second.get();
}

}  // namespace

QString format(const QDateTime &date, const QString &pattern)
{
    icu::SimpleDateFormat *formatter = formatterFor(pattern);
    if (!formatter || !date.isValid())
        return {};
    icu::UnicodeString out;
    formatter->format(UDate(date.toMSecsSinceEpoch()), out);
    return fromUnicode(out);
}

QDateTime parse(const QString &text, const QString &pattern)
{
    icu::SimpleDateFormat *formatter = formatterFor(pattern);
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
