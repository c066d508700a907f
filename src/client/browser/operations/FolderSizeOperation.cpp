#include "client/browser/operations/FolderSizeOperation.h"

#include "client/browser/host/OperationsHost.h"
#include "client/browser/operations/FolderSizeRules.h"
#include "client/browser/operations/RemoteActivity.h"
#include "client/common/tree/TreeViewNode.h"
#include "common/account/User.h"
#include "common/texts/QLLocalizedString.h"
#include "engine/controllers/RuvoFolderSizeController.h"
#include "platform/MainThread.h"

FolderSizeOperation::FolderSizeOperation(RemoteActivity &activity)
    : mActivity(activity)
{}

FolderSizeOperation::~FolderSizeOperation() = default;

void FolderSizeOperation::getFolderSize(const TreeViewNode *clicked)
{
    if (mActivity.refusedWhileReIndexing() || !clicked || clicked->isAFile() ||
        !mActivity.host().userObject().isRuvoUser())
        return;
    mActivity.startAnimation(QLLocalizedString(kOperationName));
    mFolderPath = clicked->fullPath();
    mController = std::make_unique<RuvoFolderSizeController>();
    mActivity.host().setUserAndProxyToObject(*mController);
    mController->setFilePath(QLatin1Char('/') + mFolderPath);
    mController->setDelegate(this);
    mController->startFolderSizeCalculation();
}

void FolderSizeOperation::ended(RuvoFolderSizeController *controller, const std::function<void()> &show)
{
    MainThread::runInThreadOf(&mMainThreadContext, [this, controller, show] {
        // The answer of a request that a newer one replaced is dropped.
        if (controller != mController.get())
            return;
        mController.reset();
        mActivity.stopAnimation();
        show();
    });
}

void FolderSizeOperation::FolderSizeCalculationDidFinishSuccessfully(RuvoFolderSizeController *controller,
                                                                     const QVariantMap &output)
{
    ended(controller, [this, output] { mActivity.inform(FolderSizeRules::message(mFolderPath, output)); });
}

void FolderSizeOperation::FolderSizeCalculationDidFailWithError(const QString &, RuvoFolderSizeController *controller)
{
    ended(controller, [this] { mActivity.displayMessage(QLLocalizedString(FolderSizeRules::kFailedText)); });
}
