#include "IncludeRules.h"

#include <QHash>

namespace {

// Programs share one rank: none of them may include another.
const QHash<QString, int> &ranks()
{
    static const QHash<QString, int> table{
        {"platform", 0}, {"common", 1}, {"index/sqlite", 2}, {"index", 3}, {"engine", 4},
        {"session", 5},  {"client", 6}, {"monitor", 6},      {"uninstaller", 6}};
    return table;
}

}  // namespace

namespace IncludeRules {

QString layerOf(const QString &pathUnderSrc)
{
    if (pathUnderSrc.startsWith("index/sqlite/"))
        return "index/sqlite";
    const QString first = pathUnderSrc.section('/', 0, 0);
    return ranks().contains(first) && pathUnderSrc.contains('/') ? first : QString();
}

QString upwardInclude(const QString &file, const QString &included)
{
    const QString from = layerOf(file);
    const QString to = layerOf(included);
    if (from.isEmpty() || to.isEmpty() || from == to)
        return {};
    const int fromRank = ranks().value(from);
    const int toRank = ranks().value(to);
    if (toRank > fromRank)
        return QString("%1 includes %2, a higher layer (%3)").arg(file, included, to);
    if (toRank == fromRank)
        return QString("%1 includes %2 of another program").arg(file, included);
    return {};
}

QString internalFromOutside(const QString &file, const QString &included)
{
    if (!included.split('/').contains("internal") || layerOf(file) == layerOf(included))
        return {};
    return QString("%1 includes %2, internal to the layer %3").arg(file, included, layerOf(included));
}

QString widgetsOutsideViews(const QString &file, const QString &angleInclude,
                            const QSet<QString> &widgetsHeaders)
{
    const QString header = angleInclude.startsWith("QtWidgets") ? QString("QtWidgets")
                                                                : angleInclude;
    if (header != "QtWidgets" && !widgetsHeaders.contains(header))
        return {};
    const QStringList parts = file.split('/');
    if (parts.contains("widgets") || parts.contains("views"))
        return {};
    const bool programMain = parts.size() >= 2 && parts.last() == "main.cpp"
                             && ranks().value(parts.first(), -1) == 6;
    if (programMain)
        return {};
    return QString("%1 includes the widget header <%2> outside a widgets or views folder")
        .arg(file, angleInclude);
}

}  // namespace IncludeRules
