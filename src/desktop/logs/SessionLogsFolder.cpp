#include "desktop/logs/SessionLogsFolder.h"

#include "common/files/TXSupportFileManager.h"
#include "platform/DateFormat.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <sys/stat.h>

SessionLogsFolder::SessionLogsFolder(const QString &path)
    : mPath(QFileInfo(path).isAbsolute() ? QDir::cleanPath(path) : QString())
{}

SessionLogsFolder SessionLogsFolder::fromApplicationFiles()
{
    return SessionLogsFolder(
        TXSupportFileManager::txFileManager().pathForApplicationFile(ApplicationFile::SessionLogsFolderPath));
}

QString SessionLogsFolder::newSessionLogPath(const QString &operation, const QDateTime &startTime) const
{
    const QString folder = subfolder(operation);
    ensureFolder(folder);
    return within(folder, DateFormat::format(startTime, QStringLiteral("LL-dd-yyyy-HH-mm-ss")));
}

bool SessionLogsFolder::contains(const QString &path) const
{
    const QFileInfo item(path);
    if (mPath.isEmpty() || item.isRelative() || item.fileName().isEmpty() || item.fileName() == "." ||
        item.fileName() == "..")
        return false;
    // The item itself is not resolved: a link inside the folder is removed as a link.
    const QString parent = QFileInfo(item.absolutePath()).canonicalFilePath();
    const QString folder = QFileInfo(mPath).canonicalFilePath();
    return !parent.isEmpty() && !folder.isEmpty() && (parent == folder || parent.startsWith(folder + '/'));
}

bool SessionLogsFolder::ensureFolder(const QString &path)
{
    if (path.isEmpty())
        return false;
    QStringList missing;
    for (QString folder = QDir::cleanPath(path); !QFileInfo::exists(folder); folder = QFileInfo(folder).path()) {
        missing.prepend(folder);
        if (folder == QFileInfo(folder).path())
            break;
    }
    for (const QString &folder : missing)
        ::mkdir(QFile::encodeName(folder).constData(), S_IRWXU);
    return QFileInfo(path).isDir();
}
