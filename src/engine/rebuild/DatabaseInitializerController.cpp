#include "engine/rebuild/DatabaseInitializerController.h"

#include "common/files/TXSupportFileManager.h"
#include "common/utility/QLUtility.h"
#include "engine/command/EngineCommandLines.h"
#include "engine/rebuild/DatabaseInitializerControllerDelegateProtocol.h"
#include "engine/rebuild/ReindexListingReader.h"
#include "index/rebuild/ReindexBuilder.h"
#include "platform/PrivateFolder.h"

namespace {

const QString kIndexKept = QStringLiteral("The index was not rebuilt, and the previous index is kept: %1");
const QString kNoPrivateFolder = QStringLiteral("no private folder for the engine's files could be made in %1");

}  // namespace

DatabaseInitializerController::DatabaseInitializerController(DatabaseInitializerTimings timings)
    : mIndexTimings(timings.index)
    , mEngine(this, nullptr, timings.engine)
{}

DatabaseInitializerController::~DatabaseInitializerController() = default;

QString DatabaseInitializerController::userNameForDB() const
{
    const QString account = mUserObject.UserName();
    if (QLUtility::isAppInBackupMode(account))
        return account;
    return QLUtility::getSyncUserName(account);
}

void DatabaseInitializerController::startIndexing()
{
    if (mEngine.isRunning() || mEngineFiles)
        return;
    // The engine's files lie in a folder of our own, so no other user can put a link in their place.
    mEngineFiles = PrivateFolder::makeTemporaryFolder(QStringLiteral("reindex"));
    if (!mEngineFiles) {
        fail(kNoPrivateFolder.arg(PrivateFolder::temporaryFolder()));
        return;
    }
    const QString outputFile = mEngineFiles->filePath(QStringLiteral("reindexOutput.txt"));
    const QString errorFile = mEngineFiles->filePath(QStringLiteral("reindexError.txt"));
    const QString account = mUserObject.UserName();
    mEngine.setArguments(EngineCommandLines::indexRebuild(mExecutorPath, mDestinationDrive, outputFile, errorFile,
                                                          mBackupMode ? account : QLUtility::getSyncUserName(account)));
    mEngine.setOutDataText(outputFile);
    mEngine.setErrorDataText(errorFile);
    mEngine.startProcess();
    if (mDelegateObj)
        mDelegateObj->databaseInitialisationDidStart(this);

    const QString user = userNameForDB();
    const QString indexFolder =
        TXSupportFileManager::txFileManager().pathForApplicationFile(ApplicationFile::LDBFolder);
    if (user.isEmpty() || indexFolder.isEmpty()) {
        mNotStartedReason = QStringLiteral("no user or index folder is known for this account");
    } else {
        mBuilder = std::make_unique<ReindexBuilder>(indexFolder, user, mIndexTimings);
        if (mBuilder->start(&mNotStartedReason))
            mReader = std::make_unique<ReindexListingReader>(*mBuilder, mBackupMode, mMpcName);
        else
            mBuilder.reset();
    }
    // Nothing could take the listing.
    if (!mBuilder)
        mEngine.stopProcess();
}

void DatabaseInitializerController::updateProgress(const QString &lines, TarnixProcessLib *)
{
    if (mReader)
        mReader->read(lines);
}

void DatabaseInitializerController::getError(const QString &text, TarnixProcessLib *)
{
    ++mEngineErrors;
    if (mDelegateObj)
        mDelegateObj->databaseInitialisationDidFailWitherror(text);
}

QString DatabaseInitializerController::reasonToKeepTheIndex(const TarnixProcessLib &engine) const
{
    if (!mBuilder)
        return mNotStartedReason;
    if (mEngineErrors > 0)
        return QStringLiteral("the engine reported errors, so its listing may be incomplete");
    if (engine.terminationStatus() != 0)
        return QStringLiteral("the engine ended before its listing was complete (status %1)")
            .arg(engine.terminationStatus());
    if (mReader->unreadableLines() > 0)
        return QStringLiteral("%1 lines of the engine's listing could not be read").arg(mReader->unreadableLines());
    return {};
}

void DatabaseInitializerController::processFinishedOfEngine(TarnixProcessLib *engine)
{
    QString reason = reasonToKeepTheIndex(*engine);
    if (reason.isEmpty() && mBuilder->finish(&reason))
        mIndexReplaced = true;
    else
        fail(reason);
    mReader.reset();
    mBuilder.reset();
    mEngineFiles.reset();
    if (mDelegateObj)
        mDelegateObj->databaseInitialisationDidFinish(this);
}

void DatabaseInitializerController::fail(const QString &reason)
{
    if (mBuilder)
        mBuilder->abandon();
    if (mDelegateObj)
        mDelegateObj->databaseInitialisationDidFailWitherror(kIndexKept.arg(reason));
}
