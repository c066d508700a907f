#include "FilePackage.h"

#include <QFileInfo>
#include <QStringList>

bool isFilePackage(const QString &path)
{
    static const QStringList packageExtensions = {
        "app",   "bundle", "framework",     "plugin",       "kext",   "pkg",  "mpkg",
        "rtfd",  "xpc",    "prefPane",      "qlgenerator",  "mdimporter", "saver",
        "wdgt",  "photoslibrary", "sparsebundle", "pages", "numbers", "key",
    };
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isDir())
        return false;
    return packageExtensions.contains(info.suffix(), Qt::CaseInsensitive);
}
