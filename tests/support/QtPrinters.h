#pragma once

#include <QString>

#include <ostream>

// Readable failure messages for texts (and lists of them) in any test.
inline void PrintTo(const QString &text, std::ostream *out) { *out << '"' << text.toStdString() << '"'; }

#include <QDateTime>

inline void PrintTo(const QDateTime &date, std::ostream *out)
{
    *out << date.toString(Qt::ISODateWithMs).toStdString();
}
