#include "uninstaller/views/UninstallerProgram.h"

#include "uninstaller/removal/UninstallPlan.h"

UninstallerProgram::MachineServices::MachineServices(const QList<UninstallStep> &steps)
    : runner(PrivilegedRunner::forThisProcess(QLAuthentication::allowListFor(steps)))
    , authentication(*runner, QLAuthentication::probePathFor(steps))
    , services(authentication, loginItems)
{}

UninstallerProgram::UninstallerProgram(UninstallerTimings timings)
    : UninstallerProgram(nullptr, UninstallPlan::forRunningBrand(), timings)
{}

UninstallerProgram::UninstallerProgram(std::unique_ptr<MachineServices> machine, QList<UninstallStep> steps,
                                       UninstallerTimings timings)
    : mMachine(machine ? std::move(machine) : std::make_unique<MachineServices>(steps))
    , mController(mWindow, mMachine->services, std::move(steps), timings)
{
    connectWindow();
}

UninstallerProgram::UninstallerProgram(RemovalServices &services, QList<UninstallStep> steps,
                                       UninstallerTimings timings)
    : mController(mWindow, services, std::move(steps), timings)
{
    connectWindow();
}

void UninstallerProgram::connectWindow()
{
    mWindow.setActions([this] { mController.previousScreen(); }, [this] { mController.nextScreen(); });
    mController.awakeFromNib();
}

void UninstallerProgram::show()
{
    mWindow.show();
    mWindow.raise();
    mWindow.activateWindow();
}
