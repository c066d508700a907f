#include "common/categories/QLRegExpMatcherCategory.h"

namespace QLRegExpMatcher {

QString escapedPattern(const QString &entry)
{
    QString pattern = '*' + entry + '*';
    pattern.replace(QLatin1String("**"), QLatin1String("*"));
    pattern.replace('?', '*');
    pattern.replace(QLatin1String("\\"), QLatin1String("\\\\"));
    pattern.replace(QLatin1String("|"), QLatin1String("\\|"));
    pattern.replace(QLatin1String("_"), QLatin1String("\\_"));
    return pattern;
}

}  // namespace QLRegExpMatcher
