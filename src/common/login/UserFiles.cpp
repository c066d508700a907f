#include "common/login/UserFiles.h"

#include "common/texts/QLLocalizedString.h"
#include "platform/PathTemplate.h"

#include <QDir>

namespace UserFiles {

QString path(const QString &key, const QString &userName)
{
    return QDir::cleanPath(PathTemplate::fillTemplate(QLLocalizedString(key), {userName}));
}

}  // namespace UserFiles
