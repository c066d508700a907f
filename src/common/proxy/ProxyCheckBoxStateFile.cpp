#include "common/proxy/ProxyCheckBoxStateFile.h"

#include "common/files/SettingsFileWriter.h"
#include "common/texts/QLLocalizedString.h"
#include "platform/PathStandardizer.h"
#include "platform/PropertyList.h"

#include <QtDebug>

namespace ProxyCheckBoxStateFile {

QString path() { return PathStandardizer::standardizePath(QLLocalizedString(QStringLiteral("ProxyEnableCheck"))); }

bool write(const QVariantMap &states)
{
    QString error;
    if (SettingsFileWriter::writeSettingsFile(path(), states, PropertyList::kDefaultMode, &error))
        return true;
    qWarning().noquote() << "proxy check-box states not written:" << error;
    return false;
}

std::optional<QVariantMap> read()
{
    const auto value = PropertyList::read(path());
    if (!value || value->typeId() != QMetaType::QVariantMap)
        return std::nullopt;
    return value->toMap();
}

}  // namespace ProxyCheckBoxStateFile
