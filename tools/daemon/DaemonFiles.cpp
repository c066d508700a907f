#include "daemon/DaemonFiles.h"

#include "common/texts/QLLocalizedString.h"
#include "platform/PathTemplate.h"

#include <QDir>

namespace DaemonFiles {

QString userFile(const QString &key, const QString &userName)
{
    return QDir::cleanPath(PathTemplate::fillTemplate(QLLocalizedString(key), {userName}));
}

}  // namespace DaemonFiles
