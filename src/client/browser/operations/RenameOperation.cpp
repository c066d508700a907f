#include "client/browser/operations/RenameOperation.h"

#include "client/browser/host/OperationsHost.h"
#include "client/browser/operations/RemoteActivity.h"
#include "client/browser/operations/RenameRules.h"
#include "client/browser/tree/RemoteTreeController.h"
#include "client/common/logs/SessionLogReport.h"
#include "client/common/tree/TreeViewNode.h"
#include "common/logging/OnlineLogController.h"
#include "common/texts/QLLocalizedString.h"
#include "common/utility/QLUtility.h"
#include "desktop/logs/SessionLogsFolder.h"
#include "engine/controllers/TXRenameController.h"
#include "index/IndexQueryKeys.h"

#include <QDateTime>
#include <QTimer>

RenameOperation::RenameOperation(RemoteActivity &activity, RemoteTreeController &tree, QObject *parent)
    : QObject(parent)
    , mActivity(activity)
    , mTree(tree)
{}

RenameOperation::~RenameOperation()
{
    for (auto &[key, entry] : mControllers)
        entry.first->setDelegate(nullptr);
}

bool RenameOperation::mayEdit()
{
    mActivity.host().setDisplayRefreshGuide(false);
    if (mActivity.refusedWhileReIndexing())
        return false;
    mActivity.displayMessage(QString());
    return true;
}

bool RenameOperation::mayExpand(const TreeViewNode &folder) const
{
    return RenameRules::mayExpand(folder.fullPath(), mRenameItems);
}

bool RenameOperation::renameItem(const TreeViewNode &node, const QString &newName)
{
    QStringList siblings;
    if (const TreeViewNode *folder = node.shownUnder()) {
        for (const TreeViewNode *sibling : folder->children()) {
            if (sibling != &node && !sibling->isPlaceholder())
                siblings.append(sibling->relativePath());
        }
    }
    switch (RenameRules::checkNewName(newName, node.relativePath(), siblings)) {
    case RenameRules::NameCheck::Unchanged:
        return false;
    case RenameRules::NameCheck::Refused:
        mActivity.inform(RenameRules::refusalText(newName, siblings));
        return false;
    case RenameRules::NameCheck::Rename:
        break;
    }
    if (mActivity.refusedWhileReIndexing())
        return false;
    const QString volume = mActivity.volumePath();
    if (volume.isEmpty() || mActivity.dataRoot().isEmpty()) {
        mActivity.inform(RemoteActivity::kNoDriveText);
        return false;
    }
    const QString oldPath = QLatin1Char('/') + node.fullPath();
    const QString newPath = RenameRules::renamedPath(oldPath, newName);
    if (mRenameItems.contains(oldPath))
        return false;

    // The session begins with the first rename of a batch; its log is ready before anything runs.
    if (mRenameItems.isEmpty()) {
        mRenameSessionFilePath = SessionLogsFolder::fromApplicationFiles().newSessionLogPath(
            QStringLiteral("Rename"), QDateTime::currentDateTime());
        OnlineLogController &online = OnlineLogController::SharedOnlineLogController();
        online.setOperationStartTime(QLUtility::getSessionLogTime());
        online.setOperationStatus(QStringLiteral("Success"));
        online.SetSessionPath(OnlineLogController::userSessionUploadPath());
        mActivity.startAnimation(QLLocalizedString(kOperationName));
    }
    mRenameItems.insert(oldPath);

    auto controller = std::make_unique<TXRenameController>();
    TXRenameController *started = controller.get();
    mActivity.host().setUserAndProxyToObject(*controller);
    controller->setDelegate(this);
    controller->setDestinationDrive(volume + QLatin1Char('/'));
    controller->setComputerFolder(mActivity.computerFolderOnDrive());
    mControllers[started] = {std::move(controller), oldPath};
    started->startRenameWithPaths(
        {QVariantMap{{IndexQueryKeys::kRenamedPath, newPath}, {IndexQueryKeys::kOriginalPath, oldPath}}});
    return true;
}

void RenameOperation::toLog(const QString &text, bool flush)
{
    mRenameLogger.writeSessionLog(text, mRenameSessionFilePath, flush);
}

void RenameOperation::renameDidReceiveData(const QString &oldPath, const QString &newPath)
{
    mTree.renameNode(oldPath.mid(1), newPath.mid(1));
    mRenameItems.remove(oldPath);
    const QString line = QStringLiteral("Renamed file %1 to %2").arg(oldPath, newPath);
    QLBackupProgressLogger::progressLogger().logInteractiveTrace(line, true);
    toLog(line);
    QLBackupProgressLogger::progressLogger().logSyncInteractiveSession(line, false);
}

void RenameOperation::renameDiDFinish(TXRenameController *controller)
{
    release(controller);
    if (mRenameItems.isEmpty())
        endSession(QStringLiteral("Success"));
}

void RenameOperation::renameDidFailWithError(const QString &error, TXRenameController *controller, const QString &)
{
    const auto found = mControllers.find(controller);
    if (found != mControllers.end())
        mRenameItems.remove(found->second.second);
    release(controller);
    const QString line = QStringLiteral("Rename operation failed with error: %1").arg(error);
    QLBackupProgressLogger::progressLogger().logInteractiveTrace(line, true);
    toLog(line);
    // The tree keeps the old name; the row shows it again.
    mActivity.displayMessage(QLLocalizedString(kFailedText));
    if (mRenameItems.isEmpty())
        endSession(QStringLiteral("Failure"));
    else
        OnlineLogController::SharedOnlineLogController().setOperationStatus(QStringLiteral("Failure"));
}

void RenameOperation::release(TXRenameController *controller)
{
    const auto found = mControllers.find(controller);
    if (found == mControllers.end())
        return;
    std::shared_ptr<TXRenameController> ended(std::move(found->second.first));
    mControllers.erase(found);
    ended->setDelegate(nullptr);
    // The controller is still inside its own call.
    QTimer::singleShot(0, this, [ended] {});
}

void RenameOperation::endSession(const QString &status)
{
    mActivity.stopAnimation();
    OnlineLogController::SharedOnlineLogController().setOperationStatus(status);
    const QString endTime = QLUtility::getSessionLogTime();
    toLog(QStringLiteral("End time: %1").arg(endTime));
    mActivity.host().sendSessionLogInformation(
        SessionLogReport::of(QStringLiteral("Rename"), 1, 0, mRenameSessionFilePath, endTime));
}
