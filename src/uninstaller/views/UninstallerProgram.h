#pragma once

#include "uninstaller/QLUninstaller.h"
#include "uninstaller/views/QLUninstallerWindow.h"

// The uninstaller as its main() puts it together: the window, driven by the
// controller, removing through the given services.
class UninstallerProgram
{
public:
    UninstallerProgram(RemovalServices &services, QList<UninstallStep> steps, UninstallerTimings timings = {});

    void show();

    QLUninstallerWindow &window() { return mWindow; }
    QLUninstaller &controller() { return mController; }

private:
    QLUninstallerWindow mWindow;
    QLUninstaller mController;
};
