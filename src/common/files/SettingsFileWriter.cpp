#include "common/files/SettingsFileWriter.h"

#include "common/files/DirectiryCreation.h"
#include "platform/PropertyList.h"

#include <QFileInfo>

bool SettingsFileWriter::writeSettingsFile(const QString &path, const QVariantMap &settings,
                                           QFileDevice::Permissions mode, QString *error)
{
    const QFileInfo file(path);
    if (path.isEmpty() || file.isRelative()) {
        *error = QStringLiteral("not an absolute path: \"%1\"").arg(path);
        return false;
    }
    if (!Directiry_Creation::createPrivateDirectoryHierarchyAtPath(file.absolutePath())) {
        *error = file.absolutePath() + QStringLiteral(": folder not made");
        return false;
    }
    return PropertyList::write(path, settings, mode, PropertyList::Format::Xml, error);
}
