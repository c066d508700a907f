#include "IncludeRules.h"

#include <QHash>

namespace {

constexpr int programRank = 7;

// Programs share one rank: none of them may include another.
const QHash<QString, int> &ranks()
{
    static const QHash<QString, int> table{{"platform", 0},
                                           {"common", 1},
                                           {"index/sqlite", 2},
                                           {"index", 3},
                                           {"engine", 4},
                                           {"session", 5},
                                           {"desktop", 6},
                                           {"client", programRank},
                                           {"monitor", programRank},
                                           {"uninstaller", programRank}};
    return table;
}

// The client folders every feature of the client may reach, beside its own.
const QStringList &clientSharedFolders()
{
    static const QStringList folders{"shell", "common"};
    return folders;
}

// "client/backup/now/X.h" -> "backup"; "" for files directly under client/ (main.cpp) and
// outside the client.
QString clientFolderOf(const QString &pathUnderSrc)
{
    const QStringList parts = pathUnderSrc.split('/');
    return parts.size() >= 3 && parts.first() == "client" ? parts.at(1) : QString();
}

QString screenshotTool() { return QStringLiteral("screenshots"); }

bool isWidgetsHeader(const QString &angleInclude, const QSet<QString> &widgetsHeaders)
{
    return angleInclude.startsWith("QtWidgets") || widgetsHeaders.contains(angleInclude);
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

int rankOf(const QString &pathUnderSrc)
{
    const QString layer = layerOf(pathUnderSrc);
    return layer.isEmpty() ? -1 : ranks().value(layer);
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

QString clientFeatureReach(const QString &file, const QString &included)
{
    const QString from = clientFolderOf(file);
    const QString to = clientFolderOf(included);
    if (from.isEmpty() || to.isEmpty() || from == to || clientSharedFolders().contains(from) ||
        clientSharedFolders().contains(to))
        return {};
    return QString("%1 includes %2 of another client feature (%3); what features share "
                   "belongs in client/common")
        .arg(file, included, to);
}

QString toolInclude(const QString &file, const QString &included, bool besideFile)
{
    const QString tool = file.section('/', 0, 0);
    if (!included.contains('/'))
        return besideFile ? QString() : QString("%1 includes \"%2\", which names no folder").arg(file, included);
    const QString layer = layerOf(included);
    if (layer.isEmpty()) {
        if (included.section('/', 0, 0) == tool)
            return {};
        return QString("%1 includes %2, neither its own tool's nor a layer of src/").arg(file, included);
    }
    if (tool != screenshotTool() && ranks().value(layer) > ranks().value("session"))
        return QString("%1 includes %2: a stand-in reaches no higher than the session layer").arg(file, included);
    return {};
}

QString widgetsInTool(const QString &file, const QString &angleInclude, const QSet<QString> &widgetsHeaders)
{
    if (file.section('/', 0, 0) == screenshotTool() || !isWidgetsHeader(angleInclude, widgetsHeaders))
        return {};
    return QString("%1 includes the widget header <%2>; only the screenshot tool shows windows")
        .arg(file, angleInclude);
}

QString internalFromOutside(const QString &file, const QString &included)
{
    if (!included.split('/').contains("internal") || layerOf(file) == layerOf(included))
        return {};
    return QString("%1 includes %2, internal to the layer %3").arg(file, included, layerOf(included));
}

QString widgetsOutsideViews(const QString &file, const QString &angleInclude, const QSet<QString> &widgetsHeaders)
{
    if (!isWidgetsHeader(angleInclude, widgetsHeaders))
        return {};
    const QStringList parts = file.split('/');
    if (parts.contains("widgets") || parts.contains("views"))
        return {};
    const bool programMain =
        parts.size() >= 2 && parts.last() == "main.cpp" && ranks().value(parts.first(), -1) == programRank;
    if (programMain)
        return {};
    return QString("%1 includes the widget header <%2> outside a widgets or views folder").arg(file, angleInclude);
}

}  // namespace IncludeRules
