#include "common/utility/QLUtility.h"

#include "platform/ShellPattern.h"

#include <QStringList>

bool QLUtility::isEmailID(const QString &text)
{
    const QStringList parts = text.split('@');
    if (parts.size() != 2)
        return false;
    const QStringList labels = parts.at(1).split('.');
    return labels.size() >= 2 && !labels.first().isEmpty();
}

bool QLUtility::isStringMatchesPattern(const QString &text, const QString &pattern)
{
    return ShellPattern::shellPatternMatches(text, pattern, true);
}
