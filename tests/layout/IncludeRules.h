#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

// The include rules of the source tree, as a checker the tests run over src/.
// Layers, lower to higher: platform, common, index/sqlite, index, engine, session,
// desktop (what more than one program shows), then the programs (client, monitor,
// uninstaller), which never include each other. Inside the client, a feature folder
// (client/backup, client/browser, ...) reaches only client/shell, client/common and itself.
namespace IncludeRules {

// The layer a path under src/ belongs to ("index/sqlite/FMDatabase.h" -> "index/sqlite"),
// or "" for a path outside every layer.
QString layerOf(const QString &pathUnderSrc);

// The rank of that layer (0 for platform, higher up the stack), or -1 outside every layer.
int rankOf(const QString &pathUnderSrc);

// Why a file may not include the other ("" when it may). Both paths are under src/.
QString upwardInclude(const QString &file, const QString &included);

// Why a client file may not include another client file ("" when it may): a feature folder
// of the client includes only its own files, client/shell and client/common.
QString clientFeatureReach(const QString &file, const QString &included);

// Why a file of tools/ may not include the other ("" when it may); the file's path is under
// tools/, the included one as written. A stand-in (txruvo, webservice, daemon, msgsend)
// stands for a program outside the product: it includes its own headers and the layers up
// to the session layer, never the desktop layer or a program. The screenshot tool pictures
// the programs' windows and may include every layer. A name without a folder is a header
// beside the file (besideFile tells whether it is there).
QString toolInclude(const QString &file, const QString &included, bool besideFile);

// Why a file of tools/ may not include a Qt Widgets header ("" when it may): only the
// screenshot tool shows windows.
QString widgetsInTool(const QString &file, const QString &angleInclude, const QSet<QString> &widgetsHeaders);

// Why a file may not include a header kept in a folder named "internal" ("" when
// it may): such headers are their layer's own and are not reached from another layer.
QString internalFromOutside(const QString &file, const QString &included);

// Why a file may not include a Qt Widgets header ("" when it may): widgets belong in
// folders named "widgets" or "views" and in the programs' own main.cpp.
QString widgetsOutsideViews(const QString &file, const QString &angleInclude, const QSet<QString> &widgetsHeaders);

}  // namespace IncludeRules
