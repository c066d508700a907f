#include "uninstaller/views/UninstallerProgram.h"

UninstallerProgram::UninstallerProgram(RemovalServices &services, QList<UninstallStep> steps, UninstallerTimings timings)
    : mController(mWindow, services, std::move(steps), timings)
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
