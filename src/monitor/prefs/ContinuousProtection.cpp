#include "monitor/prefs/ContinuousProtection.h"

#include "common/files/SettingsFileWriter.h"
#include "common/login/StoredLoginDetails.h"
#include "common/login/UserFiles.h"
#include "common/texts/QLLocalizedString.h"
#include "platform/DistributedNotificationCenter.h"
#include "platform/PathStandardizer.h"
#include "platform/PropertyList.h"

#include <QFileInfo>

namespace {

const QString kEnabledKey = QStringLiteral("Enabled");
const QString kFrequencyKey = QStringLiteral("Frequency");
const QString &kUsernameKey = StoredLoginDetails::kUsername;
const QString kStateModified = QStringLiteral("CDPStateModified");

QString plistPath(const QString &userName) { return UserFiles::path(QStringLiteral("CDPFilePath"), userName); }

}  // namespace

ContinuousProtection::ContinuousProtection(DistributedNotificationCenter &notifications)
    : mNotifications(notifications)
{}

bool ContinuousProtection::checkCDP(const QString &userName) const
{
    if (userName.isEmpty())
        return false;
    const QVariantMap state = PropertyList::readDictionary(plistPath(userName));
    return state.value(kUsernameKey).toString() == userName &&
           state.value(kEnabledKey).toString() == QLatin1String("1");
}

bool ContinuousProtection::setEnabled(const QString &userName, bool enabled)
{
    if (userName.isEmpty())
        return false;
    const QString path = plistPath(userName);
    QVariantMap state = PropertyList::readDictionary(path);
    state.insert(kEnabledKey, enabled ? QStringLiteral("1") : QStringLiteral("0"));
    state.insert(kFrequencyKey, QStringLiteral("1"));
    state.insert(kUsernameKey, userName);
    QString error;
    if (!SettingsFileWriter::writeSettingsFile(path, state, PropertyList::kDefaultMode, &error))
        return false;
    mNotifications.postNotificationName(kStateModified);
    return true;
}

bool ContinuousProtection::isMagicFileExists()
{
    return QFileInfo::exists(PathStandardizer::standardizePath(QLLocalizedString(QStringLiteral("MagicFile"))));
}
