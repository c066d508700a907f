#pragma once

#include <QDateTime>
#include <QString>

// Date formatting and parsing with Unicode (ICU) patterns as written, such as
// "EEE LLL d yyyy h:m:s a" or "LL-d-yyyy-H-m-s", in the user's locale and time zone.
namespace DateFormat {

QString format(const QDateTime &date, const QString &pattern);

// An invalid QDateTime when the text does not match the pattern.
QDateTime parse(const QString &text, const QString &pattern);

}  // namespace DateFormat
