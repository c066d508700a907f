#include "common/texts/QLLocalizedString.h"

#include "common/context/ProgramContext.h"
#include "common/texts/TextTable.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {

QString programName()
{
    const QString brand = qEnvironmentVariable("TX_BRAND");
    if (!brand.isEmpty())
        return brand;
    if (QCoreApplication::instance())
        return QCoreApplication::applicationName();
    return QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget().section('/', -1);
}

}  // namespace

QString LocalizedText::brandFolderName()
{
    return programName().startsWith(QLatin1String("Quellon")) ? QStringLiteral("Quellon") : QStringLiteral("Tarnix");
}

QString QLLocalizedString(const QString &key) { return ProgramContext::current().texts().lookup(key); }

bool LocalizedText::tableLoaded() { return ProgramContext::current().texts().isLoaded(); }
