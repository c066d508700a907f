#pragma once

#include "uninstaller/authorization/QLAuthentication.h"
#include "uninstaller/loginitems/ZRLoginItemRegistry.h"
#include "uninstaller/removal/RemovalServices.h"

// The removal on this machine: items go with administrator rights, login items
// are the user's autostart entries.
class PlatformRemovalServices : public RemovalServices
{
public:
    PlatformRemovalServices(QLAuthentication &authentication, LoginItems &loginItems)
        : mAuthentication(authentication)
        , mLoginItems(loginItems)
    {}

    bool authenticate() override { return mAuthentication.authenticate(); }
    bool runsAsAdministrator() const override { return QLAuthentication::isAdministrator(); }
    QString removeItem(const QString &path) override { return mAuthentication.removeItem(path); }
    bool removeLoginItemWithPath(const QString &programPath) override
    {
        return mLoginItems.removeLoginItemWithPath(programPath);
    }
    bool hasLoginItemWithPath(const QString &programPath) override
    {
        return mLoginItems.hasLoginItemWithPath(programPath);
    }

private:
    QLAuthentication &mAuthentication;
    ZRLoginItemRegistry mLoginItems;
};
