#include "platform/FilePackage.h"

#include <QFileInfo>
#include <QStringList>

bool FilePackage::isFilePackage(const QString &path)
{
    static const QStringList packageExtensions = {
        "app",           "bundle",       "framework", "plugin",      "kext",       "pkg",   "mpkg",
        "rtfd",          "xpc",          "prefPane",  "qlgenerator", "mdimporter", "saver", "wdgt",
        "photoslibrary", "sparsebundle", "pages",     "numbers",     "key",
    };
    if (path.isEmpty() || !QFileInfo(path).isDir())
        return false;
    // A link is judged by the folder it leads to.
    const QFileInfo target(QFileInfo(path).canonicalFilePath());
    return packageExtensions.contains(target.suffix(), Qt::CaseInsensitive);
}
