#pragma once

#include "client/shell/sidebar/SidebarRules.h"

#include <QString>

// What the sidebar (Sidebar) and the page switcher (TXTabViewController) ask of
// the main controller before they act: who is logged in and which operations run.
class TXTabViewControllerDelegate
{
public:
    virtual ~TXTabViewControllerDelegate() = default;

    // The logged-in user's name, "" before a login.
    virtual QString loggedInUserName() const = 0;
    virtual bool isReIndexInProgress() const = 0;
    virtual SidebarRules::Activity runningActivity() const = 0;
};
