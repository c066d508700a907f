#include "TXEngineApplicationDelegate.h"

#include "QLLocalizedString.h"
#include "QLUtility.h"
#include "TXEngineController.h"
#include "TXSupportFileManager.h"
#include "User.h"

void TXEngineApplicationDelegate::setUserAndProxyToObject(TXEngineController &controller)
{
    const User &account = userObject();
    controller.userInfo().copyEngineFieldsFrom(account, QLUtility::portParam());
    if (account.isRuvoUser()) {
        controller.setProxyObjectWithSettingsFile(
            TXSupportFileManager::txFileManager().pathForApplicationFile(ApplicationFile::ProxySetting));
    }
    controller.setExecutorPath(
        QLLocalizedString(account.isRuvoUser() ? QStringLiteral("ExecuterPathRuvo") : QStringLiteral("ExecuterPath")));
}

TXEngineApplicationDelegate *TXEngineApplicationDelegate::current()
{
    return dynamic_cast<TXEngineApplicationDelegate *>(QLApplicationDelegate::current());
}
