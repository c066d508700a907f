#include "common/utility/QLUtility.h"

#include "common/account/SyncDetailsKeys.h"
#include "common/categories/BoolValue.h"
#include "common/texts/QLLocalizedString.h"
#include "platform/PathStandardizer.h"
#include "platform/PathTemplate.h"
#include "platform/PropertyList.h"

#include <QFile>

bool QLUtility::isAppInBackupMode(const QString &userName)
{
    const QString path = PathTemplate::fillTemplate(QLLocalizedString(QStringLiteral("BackupModePath")), {userName});
    QFile modeFile(path);
    if (!modeFile.exists())
        return true;
    if (!modeFile.open(QIODevice::ReadOnly))
        return true;
    return BoolValue::textBoolValue(QString::fromUtf8(modeFile.readAll()));
}

QVariantMap QLUtility::syncUserDetails(const QString &userName)
{
    const QString path = PathStandardizer::standardizePath(
        PathTemplate::fillTemplate(QLLocalizedString(QStringLiteral("SyncDetailsFilePath")), {userName}));
    return QFile::exists(path) ? PropertyList::readDictionary(path) : QVariantMap();
}

QString QLUtility::getSyncUserName(const QString &userName)
{
    const QVariant name = syncUserDetails(userName).value(SyncDetailsKeys::kSyncUserName);
    return name.isValid() ? name.toString() : QString();
}
