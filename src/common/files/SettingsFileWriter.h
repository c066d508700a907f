#pragma once

#include <QFileDevice>
#include <QString>
#include <QVariantMap>

namespace SettingsFileWriter {

// Writes a settings dictionary atomically as an XML plist, making its folder
// first. A relative or empty path (a missing configuration key) is refused
// rather than written into the current folder; *error says why on failure.
bool writeSettingsFile(const QString &path, const QVariantMap &settings, QFileDevice::Permissions mode, QString *error);

}  // namespace SettingsFileWriter
