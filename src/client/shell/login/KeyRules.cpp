#include "client/shell/login/KeyRules.h"

#include <algorithm>

namespace KeyRules {

QString acceptanceKeyError(const QString &key)
{
    if (key.size() <= 3)
        return kTooShort;
    if (key.size() >= 256)
        return kTooLong;
    if (std::any_of(key.begin(), key.end(), [](QChar c) { return c.isSpace(); }))
        return kHasSpaces;
    return {};
}

QString setupKeyError(const QString &key, const QString &confirmation)
{
    if (key.isEmpty())
        return kEnterKey;
    if (confirmation.isEmpty())
        return kConfirmKey;
    if (key != confirmation)
        return kKeysDiffer;
    return acceptanceKeyError(key);
}

}  // namespace KeyRules
