#include "client/common/logs/SessionLogText.h"

namespace SessionLogText {

QString arrayDescription(const QStringList &paths)
{
    QStringList quoted;
    for (QString path : paths) {
        path.replace('\\', QLatin1String("\\\\")).replace('"', QLatin1String("\\\""));
        quoted.append(QStringLiteral("    \"%1\"").arg(path));
    }
    return QStringLiteral("(\n") + (quoted.isEmpty() ? QString() : quoted.join(QStringLiteral(",\n")) + '\n') + ')';
}

}  // namespace SessionLogText
