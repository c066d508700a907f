#pragma once

#include <QString>

// The rules a private encryption key must meet, with the messages the set-up
// and private-key pages show. Each answers the first broken rule, "" when the
// key passes.
namespace KeyRules {

inline const QString kEnterKey = QStringLiteral("Enter private encryption key");
inline const QString kConfirmKey = QStringLiteral("Confirm private encryption key");
inline const QString kKeysDiffer = QStringLiteral("Encryption key and Confirm encryption key must be the same");
inline const QString kTooShort = QStringLiteral("Encryption key must contain 4 or more characters");
inline const QString kTooLong = QStringLiteral("Encryption key can contain upto 255 characters");
inline const QString kHasSpaces = QStringLiteral("Spaces are not allowed for private encryption key");

// The set-up page: key, then confirmation, then the key's own rules.
QString setupKeyError(const QString &key, const QString &confirmation);
// The private-key page of an existing account: the key's own rules (length, blanks).
QString acceptanceKeyError(const QString &key);

}  // namespace KeyRules
