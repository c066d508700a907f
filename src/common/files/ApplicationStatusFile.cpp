#include "common/files/ApplicationStatusFile.h"

#include "common/files/ApplicationFile.h"
#include "common/files/SettingsFileWriter.h"
#include "common/files/TXSupportFileManager.h"
#include "platform/PropertyList.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QtDebug>

namespace ApplicationStatusFile {
namespace {

QString statusPath()
{
    return TXSupportFileManager::txFileManager().pathForApplicationFile(ApplicationFile::ApplicationStatusPath);
}

}  // namespace

QVariantMap read() { return PropertyList::readDictionary(statusPath()); }

bool setEntry(const QString &key, const QString &userName)
{
    const QString path = statusPath();
    if (path.isEmpty() || !QDir().mkpath(QFileInfo(path).absolutePath())) {
        qWarning().noquote() << "no folder for the status file" << path;
        return false;
    }
    QLockFile lock(path + QStringLiteral(".lock"));
    if (!lock.lock()) {
        qWarning().noquote() << "the status file's lock could not be taken:" << path;
        return false;
    }
    QVariantMap status = PropertyList::readDictionary(path);
    if (userName.isEmpty())
        status.remove(key);
    else
        status.insert(key, userName);
    QString error;
    if (!SettingsFileWriter::writeSettingsFile(path, status, PropertyList::kOwnerReadWrite, &error)) {
        qWarning().noquote() << "could not write the status file" << path << error;
        return false;
    }
    return true;
}

}  // namespace ApplicationStatusFile
