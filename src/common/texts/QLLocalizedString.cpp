#include "common/texts/QLLocalizedString.h"

#include "platform/PathRoots.h"
#include "platform/PropertyList.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QtDebug>

namespace {

struct StringTable {
    QMutex mutex;
    bool loaded = false;
    QHash<QString, QString> values;
};

StringTable &table()
{
    static StringTable instance;
    return instance;
}

QString programName()
{
    const QString brand = qEnvironmentVariable("TX_BRAND");
    if (!brand.isEmpty())
        return brand;
    if (QCoreApplication::instance())
        return QCoreApplication::applicationName();
    return QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget().section('/', -1);
}

// Loads under the table's lock; a failure leaves the table unloaded so the next lookup retries.
void loadTable(StringTable &strings)
{
    const QString path = PathRoots::resourcesFolder() + '/' + QLBrandFolderName() + "/Localizable.plist";
    QString error;
    const auto value = PropertyList::read(path, &error);
    if (!value || value->typeId() != QMetaType::QVariantMap) {
        qWarning().noquote() << "Localizable table not loaded:" << (error.isEmpty() ? path + ": not a dictionary" : error);
        return;
    }
    const QVariantMap map = value->toMap();
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        strings.values.insert(it.key(), it.value().toString());
    strings.loaded = true;
}

}  // namespace

QString QLBrandFolderName()
{
    return programName().startsWith(QLatin1String("Quellon")) ? QStringLiteral("Quellon") : QStringLiteral("Tarnix");
}

QString QLLocalizedString(const QString &key)
{
    if (key.isNull())
        return QStringLiteral("");
    StringTable &strings = table();
    QMutexLocker lock(&strings.mutex);
    if (!strings.loaded)
        loadTable(strings);
    const auto found = strings.values.constFind(key);
    if (found == strings.values.cend())
        return key;
    return PathRoots::expandRootTokens(found.value());
}

bool QLLocalizedStringTableLoaded()
{
    StringTable &strings = table();
    QMutexLocker lock(&strings.mutex);
    if (!strings.loaded)
        loadTable(strings);
    return strings.loaded;
}

void QLLocalizedStringReset()
{
    StringTable &strings = table();
    QMutexLocker lock(&strings.mutex);
    strings.loaded = false;
    strings.values.clear();
}
