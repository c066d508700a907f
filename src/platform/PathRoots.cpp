#include "platform/PathRoots.h"

#include "platform/PrivateFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <unistd.h>

namespace PathRoots {
namespace {

QString fromEnvironment(const char *name, const QString &fallback)
{
    const QString value = qEnvironmentVariable(name);
    return value.isEmpty() ? fallback : QDir::cleanPath(value);
}

QString currentLoginName()
{
    const QString user = qEnvironmentVariable("USER");
    return user.isEmpty() ? QString::number(getuid()) : user;
}

}  // namespace

QString homeFolder() { return fromEnvironment("HOME", QDir::homePath()); }
QString userDataRoot() { return fromEnvironment("XDG_DATA_HOME", homeFolder() + "/.local/share"); }
QString userConfigRoot() { return fromEnvironment("XDG_CONFIG_HOME", homeFolder() + "/.config"); }
QString userCacheRoot() { return fromEnvironment("XDG_CACHE_HOME", homeFolder() + "/.cache"); }
QString temporaryRoot() { return fromEnvironment("TMPDIR", QStringLiteral("/tmp")); }

QString userRuntimeRoot() { return PrivateFolder::runtimeRoot(); }

QString machineSupportRoot() { return fromEnvironment("TX_SUPPORT_ROOT", QStringLiteral("/var/lib/tarnixvidezud")); }
QString volumesRoot() { return fromEnvironment("TX_VOLUMES_ROOT", "/media/" + currentLoginName()); }

QString programFolder()
{
    if (QCoreApplication::instance())
        return fromEnvironment("TX_BIN_DIR", QCoreApplication::applicationDirPath());
    return fromEnvironment("TX_BIN_DIR",
                           QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section('/', 0, -2));
}

// Installed, the programs sit in <prefix>/lib/tarnixvidezud/bin beside its resources folder.
QString applicationFolder() { return QDir::cleanPath(programFolder() + "/.."); }
QString installPrefix() { return QDir::cleanPath(applicationFolder() + "/../.."); }

QString resourcesFolder() { return fromEnvironment("TX_RESOURCES", applicationFolder() + "/resources"); }

QString expandRootTokens(const QString &text)
{
    if (!text.contains(QStringLiteral("${")))
        return text;
    struct Token
    {
        const char *name;
        QString (*root)();
    };
    static const Token tokens[] = {
        {"${HOME}", homeFolder},      {"${DATA}", userDataRoot},       {"${CONFIG}", userConfigRoot},
        {"${CACHE}", userCacheRoot},  {"${RUNTIME}", userRuntimeRoot}, {"${SUPPORT}", machineSupportRoot},
        {"${VOLUMES}", volumesRoot},  {"${BIN}", programFolder},       {"${APP}", applicationFolder},
        {"${PREFIX}", installPrefix}, {"${TMP}", temporaryRoot},
    };
    QString result = text;
    for (const Token &token : tokens) {
        const QString name = QLatin1String(token.name);
        if (result.contains(name))
            result.replace(name, token.root());
    }
    return result;
}

}  // namespace PathRoots
