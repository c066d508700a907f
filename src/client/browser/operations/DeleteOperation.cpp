#include "client/browser/operations/DeleteOperation.h"

#include "client/browser/host/OperationsHost.h"
#include "client/browser/operations/RemoteActivity.h"
#include "client/browser/tree/RemoteTreeController.h"
#include "client/common/logs/SessionLogReport.h"
#include "client/common/logs/SessionLogText.h"
#include "client/common/tree/TreeViewNode.h"
#include "common/account/User.h"
#include "common/logging/OnlineLogController.h"
#include "common/texts/QLLocalizedString.h"
#include "common/utility/QLUtility.h"
#include "desktop/logs/SessionLogsFolder.h"
#include "engine/controllers/RuvoDeleteController.h"

#include <QDateTime>
#include <QTimer>

DeleteOperation::DeleteOperation(RemoteActivity &activity, RemoteTreeController &tree, DeleteTimings timings,
                                 QObject *parent)
    : DeleteOperation(
          activity,
          [&tree](const QStringList &treePaths) {
              for (const QString &path : treePaths)
                  tree.deleteNodeFromTreeWithPath(path);
          },
          timings, parent)
{
    mTree = &tree;
}

DeleteOperation::DeleteOperation(RemoteActivity &activity, RemoveDeleted removeDeleted, DeleteTimings timings,
                                 QObject *parent)
    : QObject(parent)
    , mActivity(activity)
    , mRemoveDeleted(std::move(removeDeleted))
    , mTimings(timings)
{}

DeleteOperation::~DeleteOperation()
{
    RuvoDeleteController &controller = mActivity.host().deleteController();
    if (mRun)
        controller.setDelegate(nullptr);
}

bool DeleteOperation::refusedWhileBusy()
{
    if (!mRun && !mActivity.host().deleteController().isRunning())
        return false;
    mActivity.inform(kBusyText);
    return true;
}

void DeleteOperation::delteFile(const TreeViewNode *clicked)
{
    mActivity.host().setDisplayRefreshGuide(false);
    if (mActivity.refusedWhileReIndexing() || !clicked || refusedWhileBusy())
        return;
    start({{clicked->fullPath(), !clicked->isAFile()}});
}

void DeleteOperation::deleteFileFromServer()
{
    mActivity.host().setDisplayRefreshGuide(false);
    QList<RestoreRules::CheckedItem> items;
    if (mTree) {
        for (const TreeViewNode *node : mTree->getAllSelectedNode())
            items.append({node->fullPath(), !node->isAFile()});
    }
    deleteItems(items, kNothingCheckedText);
}

void DeleteOperation::deleteItems(const QList<RestoreRules::CheckedItem> &items, const QString &nothingText)
{
    if (mActivity.refusedWhileReIndexing() || refusedWhileBusy())
        return;
    if (items.isEmpty()) {
        mActivity.displayMessage(QLLocalizedString(nothingText));
        return;
    }
    start(items);
}

bool DeleteOperation::start(const QList<RestoreRules::CheckedItem> &items)
{
    if (!mActivity.confirm(kQuestionText))
        return false;
    const QString dataRoot = mActivity.dataRoot();
    if (dataRoot.isEmpty()) {
        mActivity.inform(RemoteActivity::kNoDriveText);
        return false;
    }
    OperationsHost &host = mActivity.host();
    mRun = DeleteRules::runOf(items);
    mComputerFolder = host.isAppInBackupMode() ? host.mpcName() : QString();
    mDeleted.clear();
    mFailed.clear();
    mErrors.clear();
    mTotalDeleteFileCount = int(mRun->selection.contents.size());

    // The log and the start time come first: the controller may report at once.
    const QString startTime = QLUtility::getSessionLogTime();
    OnlineLogController &online = OnlineLogController::SharedOnlineLogController();
    online.setOperationStartTime(startTime);
    online.setOperationStatus(QStringLiteral("Success"));
    online.SetOperationSessionFile(QString());
    online.SetSessionPath(OnlineLogController::userSessionUploadPath());
    mDeleteSessionFilePath = SessionLogsFolder::fromApplicationFiles().newSessionLogPath(QStringLiteral("Delete"),
                                                                                         QDateTime::currentDateTime());
    toLog(QStringLiteral("Delete Operation"));
    toLog(QStringLiteral("Username: %1").arg(host.userObject().UserName()), false);
    toLog(QStringLiteral("Start Time: %1").arg(startTime), false);
    toLog(QStringLiteral("Delete Content:\n%1\n").arg(SessionLogText::arrayDescription(mRun->selection.contents)));
    mActivity.startAnimation(QLLocalizedString(kOperationName));
    mActivity.displayMessage(QString());

    // The controller is shared: everything it runs with is set again for this run.
    RuvoDeleteController &controller = host.deleteController();
    host.setUserAndProxyToObject(controller);
    controller.setDelegate(this);
    controller.setMFolderSetFordelete(mRun->folderSet());
    controller.setMFileSetForDelete(mRun->fileSet());
    controller.setExecutorPath(mActivity.executorPath());
    controller.setDestinationPath(dataRoot);
    controller.startDelete();
    return true;
}

void DeleteOperation::toLog(const QString &text, bool flush)
{
    mDeleteLogger.writeSessionLog(text, mDeleteSessionFilePath, flush);
}

void DeleteOperation::toLogs(const QString &text, bool flush)
{
    toLog(text, flush);
    QLBackupProgressLogger::progressLogger().logSyncInteractiveSession(text, flush);
}

void DeleteOperation::deleteDidReceiveData(const QString &path)
{
    if (!mRun)
        return;
    toLogs(QStringLiteral("Deleted file: %1").arg(path.mid(1)), false);
    const QString item = DeleteRules::treePathOfReported(path, mComputerFolder, *mRun);
    if (!item.isEmpty())
        mDeleted.append(item);
}

void DeleteOperation::deleteDidReceiveErrors(const QString &error, const QString &path)
{
    if (!mRun)
        return;
    toLogs(QStringLiteral("Delete failed for :%1 Error: %2").arg(path, error), false);
    const QString item = DeleteRules::treePathOfReported(path, mComputerFolder, *mRun);
    mFailed.append(item.isEmpty() ? path : item);
}

void DeleteOperation::deleteDidFinishSuccessfully(RuvoDeleteController *)
{
    if (mRun)
        end(false);
}

void DeleteOperation::deleteDidFailWithError(const QString &error, RuvoDeleteController *controller)
{
    if (!mRun)
        return;
    // A set that failed; the delete goes on with the next one unless this was its last.
    mErrors.append(error);
    if (!error.isEmpty())
        toLogs(QStringLiteral("Delete operation failed with error: %1").arg(error), true);
    if (!controller || !controller->isRunning())
        end(false);
}

void DeleteOperation::deleteDidCancel(RuvoDeleteController *)
{
    if (mRun)
        end(true);
}

void DeleteOperation::end(bool cancelled)
{
    OperationsHost &host = mActivity.host();
    host.deleteController().setDelegate(nullptr);
    const bool setFailed = cancelled || !mErrors.isEmpty();
    const DeleteRules::Outcome outcome = DeleteRules::outcome(*mRun, mDeleted, mFailed, setFailed);
    for (const QString &path : outcome.indexDeletes)
        host.addFileToDelete(path);
    mRemoveDeleted(outcome.removedFromTree);

    const bool succeeded = !setFailed && mFailed.isEmpty();
    const QString endTime = QLUtility::getSessionLogTime();
    OnlineLogController &online = OnlineLogController::SharedOnlineLogController();
    if (cancelled) {
        toLog(QStringLiteral("Delete operation cancelled"));
        online.setOperationStatus(QStringLiteral("Cancelled"));
    } else if (succeeded) {
        online.setOperationStatus(QStringLiteral("Success"));
    } else {
        online.setOperationStatus(QStringLiteral("Failure"));
        mActivity.displayMessage(
            QLLocalizedString(outcome.removedFromTree.isEmpty() ? kFailedText : kPartlyFailedText));
    }
    toLog(QStringLiteral("End Time: %1").arg(endTime));
    if (succeeded) {
        toLog(QStringLiteral("Deleted successfully"));
        QLBackupProgressLogger::progressLogger().logInteractiveTrace(QStringLiteral("Deleted successfully"), true);
    }
    toLog(QString(50, QLatin1Char('-')) + QLatin1Char('\n'));
    mActivity.stopAnimation();
    host.sendSessionLogInformation(
        SessionLogReport::of(QStringLiteral("Delete"), mTotalDeleteFileCount, 0, mDeleteSessionFilePath, endTime));
    mRun.reset();
    QTimer::singleShot(mTimings.quotaDelay, this, [this] { mActivity.host().calQuota(); });
}
