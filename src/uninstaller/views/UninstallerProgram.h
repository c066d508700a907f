#pragma once

#include "platform/LoginItems.h"
#include "platform/PrivilegedRunner.h"
#include "uninstaller/QLUninstaller.h"
#include "uninstaller/removal/PlatformRemovalServices.h"
#include "uninstaller/views/QLUninstallerWindow.h"

#include <memory>

// The uninstaller as its main() puts it together: the window, driven by the
// controller, removing through the given services.
class UninstallerProgram
{
public:
    // On this machine: the running brand's steps, administrator rights through
    // the runner this process needs (direct for root, pkexec otherwise), the
    // user's autostart entries.
    explicit UninstallerProgram(UninstallerTimings timings = {});
    UninstallerProgram(RemovalServices &services, QList<UninstallStep> steps, UninstallerTimings timings = {});

    void show();

    QLUninstallerWindow &window() { return mWindow; }
    QLUninstaller &controller() { return mController; }

private:
    struct MachineServices
    {
        explicit MachineServices(const QList<UninstallStep> &steps);
        std::unique_ptr<PrivilegedRunner> runner;
        QLAuthentication authentication;
        LoginItems loginItems;
        PlatformRemovalServices services;
    };
    UninstallerProgram(std::unique_ptr<MachineServices> machine, QList<UninstallStep> steps,
                       UninstallerTimings timings);
    void connectWindow();

    std::unique_ptr<MachineServices> mMachine;
    QLUninstallerWindow mWindow;
    QLUninstaller mController;
};
