#include "engine/command/TXEngineApplicationDelegate.h"

#include "common/account/User.h"
#include "common/context/ProgramContext.h"
#include "common/files/TXSupportFileManager.h"
#include "common/texts/QLLocalizedString.h"
#include "common/utility/QLUtility.h"
#include "engine/command/TXEngineController.h"

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
    return ProgramContext::current().service<TXEngineApplicationDelegate>();
}

void TXEngineApplicationDelegate::setCurrent(TXEngineApplicationDelegate *delegate)
{
    ProgramContext::current().setService(delegate);
    QLApplicationDelegate::setCurrent(delegate);
}
