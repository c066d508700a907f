#include "client/shell/TextFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace TextFiles {

bool writeAtomically(const QString &path, const QString &text)
{
    if (QFileInfo(path).isRelative())
        return false;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(text.toUtf8());
    return file.commit();
}

}  // namespace TextFiles
