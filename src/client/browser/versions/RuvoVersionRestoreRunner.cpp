#include "client/browser/versions/RuvoVersionRestoreRunner.h"

#include "engine/controllers/RuvoVersionRestoreController.h"

RuvoVersionRestoreRunner::RuvoVersionRestoreRunner(RuvoVersionRestoreController &controller, Fill fill)
    : mController(controller)
    , mFill(std::move(fill))
{}

bool RuvoVersionRestoreRunner::isRestoring() const { return mController.isRestoring(); }

void RuvoVersionRestoreRunner::start(const VersionRestoreRequest &request, VersionRestoreProtocol &delegate)
{
    if (mFill)
        mFill(mController);
    mController.setVersionFilepath(request.serverPath);
    mController.setSelectedVersionObj(request.version);
    mController.setDelegate(&delegate);
    mController.setMDisplayFilePath(request.displayPath);
    mController.setRestoreDestination(request.restoreDestination);
    mController.setDestination(request.destination);
    mController.versionRestore();
}

void RuvoVersionRestoreRunner::forget(VersionRestoreProtocol &delegate)
{
    // Another page may have started the restore since: its delegate stays.
    if (mController.delegate() == &delegate)
        mController.setDelegate(nullptr);
}
