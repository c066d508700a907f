#include "client/browser/reindex/ReIndexOperation.h"

#include "client/browser/host/OperationsHost.h"
#include "client/browser/operations/RemoteActivity.h"
#include "client/browser/tree/RemoteTreeController.h"
#include "common/files/TXSupportFileManager.h"
#include "common/logging/QLBackupProgressLogger.h"
#include "common/texts/QLLocalizedString.h"
#include "engine/rebuild/DatabaseInitializerController.h"
#include "platform/PropertyList.h"

#include <QFile>
#include <QTimer>

namespace {

QString statusFilePath()
{
    return TXSupportFileManager::txFileManager().pathForApplicationFile(ApplicationFile::DatabaseReIndexingStatusPath);
}

}  // namespace

ReIndexOperation::ReIndexOperation(RemoteActivity &activity, RemoteTreeController &tree, Factory factory,
                                   QObject *parent)
    : QObject(parent)
    , mActivity(activity)
    , mTree(tree)
    , mFactory(factory ? std::move(factory) : [] { return std::make_unique<DatabaseInitializerController>(); })
{}

ReIndexOperation::~ReIndexOperation()
{
    if (mController)
        mController->setDelegate(nullptr);
}

void ReIndexOperation::reIndexDatabase()
{
    OperationsHost &host = mActivity.host();
    if (mController || host.isReIndexInProgress() || host.isOperationActive())
        return;
    if (!mActivity.confirm(kQuestionText))
        return;
    // The data root of this brand, account and mode; a rebuild of a missing one would swap in an empty index.
    const QString dataRoot = mActivity.dataRoot();
    if (dataRoot.isEmpty()) {
        mActivity.inform(RemoteActivity::kNoDriveText);
        return;
    }
    mErrors.clear();
    mStarted = false;
    mController = mFactory();
    mController->setUser(host.userObject());
    mController->setDestinationDrive(dataRoot);
    mController->setMpcName(host.mpcName());
    mController->setMBackupMode(host.isAppInBackupMode());
    mController->setMExecutorPath(mActivity.executorPath());
    mController->setDelegate(this);
    mController->startIndexing();
    // A rebuild that could not even start tells its reason, and nothing more.
    if (mController && !mStarted) {
        mController->setDelegate(nullptr);
        std::shared_ptr<DatabaseInitializerController> unused(std::move(mController));
        QTimer::singleShot(0, this, [unused] {});
        mActivity.inform(kFailedText);
    }
}

void ReIndexOperation::databaseInitialisationDidStart(DatabaseInitializerController *)
{
    mStarted = true;
    OperationsHost &host = mActivity.host();
    host.setReIndexInProgress(true);
    // The flag's file, for the programs that test it without the flag.
    PropertyList::write(statusFilePath(), QVariantMap());
    // Nothing is listed from an index about to be replaced.
    mTree.clearWithMessage(QString());
    mActivity.startAnimation(QLLocalizedString(kOperationName));
}

void ReIndexOperation::databaseInitialisationDidFailWitherror(const QString &error)
{
    mErrors.append(error);
    QLBackupProgressLogger::progressLogger().logInteractiveTrace(QStringLiteral("Re-index: %1").arg(error), true);
}

void ReIndexOperation::databaseInitialisationDidFinish(DatabaseInitializerController *controller)
{
    if (controller != mController.get())
        return;
    const bool replaced = controller->indexWasReplaced();
    controller->setDelegate(nullptr);
    // Released once its own call has returned.
    std::shared_ptr<DatabaseInitializerController> finished(std::move(mController));
    QTimer::singleShot(0, this, [finished] {});
    end(replaced);
}

void ReIndexOperation::end(bool indexReplaced)
{
    QFile::remove(statusFilePath());
    mActivity.host().setReIndexInProgress(false);
    mActivity.stopAnimation();
    mTree.refresh();
    if (!indexReplaced) {
        mActivity.displayMessage(QLLocalizedString(kFailedText));
        mActivity.inform(kFailedText);
    }
}
