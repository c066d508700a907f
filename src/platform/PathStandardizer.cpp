#include "platform/PathStandardizer.h"

#include "platform/PathRoots.h"

#include <QStringList>

QString PathStandardizer::standardizePath(const QString &path)
{
    if (path.isEmpty())
        return path;

    QString expanded = path;
    if (expanded == QLatin1String("~") || expanded.startsWith(QLatin1String("~/")))
        expanded.replace(0, 1, PathRoots::homeFolder());

    const bool absolute = expanded.startsWith('/');
    QStringList kept;
    for (const QString &component : expanded.split('/', Qt::SkipEmptyParts)) {
        if (component == QLatin1String("."))
            continue;
        if (component == QLatin1String("..") && !kept.isEmpty() && kept.last() != QLatin1String("..")) {
            kept.removeLast();
            continue;
        }
        if (component == QLatin1String("..") && absolute)
            continue;  // the parent of the root is the root
        kept.append(component);
    }
    const QString joined = kept.join('/');
    if (absolute)
        return '/' + joined;
    return joined.isEmpty() ? QStringLiteral(".") : joined;
}
