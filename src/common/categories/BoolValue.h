#pragma once

#include <QString>
#include <QVariant>

namespace BoolValue {

// The boolean value of a stored text: leading blanks, a sign and zeros are
// skipped; "Y", "T" (any case) or a digit 1-9 then means true.
bool textBoolValue(const QString &text);

// The boolean value of a stored value: a bool as it is, a number when not
// zero, a text by textBoolValue; anything else (none, a list) is false.
bool variantBoolValue(const QVariant &value);

}  // namespace BoolValue
