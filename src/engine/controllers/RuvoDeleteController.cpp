#include "engine/controllers/RuvoDeleteController.h"

#include "common/account/SyncDetailsKeys.h"
#include "common/texts/QLLocalizedString.h"
#include "common/utility/QLUtility.h"
#include "engine/command/EngineCommandLines.h"
#include "engine/controllers/ControllerTexts.h"
#include "engine/controllers/RuvoDeleteControllerDelegateProtocol.h"
#include "engine/controllers/RuvoSearchController.h"
#include "engine/controllers/ThumbnailSuffixes.h"
#include "engine/parsing/DeleteHandlerData.h"
#include "engine/parsing/QLSYNCParser.h"
#include "platform/MainThread.h"
#include "platform/PathStandardizer.h"
#include "platform/PathTemplate.h"
#include "platform/PrivateFolder.h"
#include "platform/PropertyList.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QThread>

namespace {

constexpr int kDeleteOutputType = 4;
const QString kSpillFolder = QStringLiteral("~/Library/Application Support/TarnixPortableforMac/delete");
const QString kUploadInProgressText = QStringLiteral(
    "Unable to perform the delete operation. Reason: Data upload is in progress for this account. Try later");
const QString kDeleteFailedText = QStringLiteral("Unable to perform the delete operation.");
bool mentionsThumbnail(const QString &text)
{
    for (const QString &suffix : ThumbnailSuffixes::all()) {
        if (text.contains(suffix))
            return true;
    }
    return false;
}

bool isThumbnail(const QString &path)
{
    for (const QString &suffix : ThumbnailSuffixes::all()) {
        if (path.endsWith(suffix))
            return true;
    }
    return false;
}

bool writeList(const QString &path, const QStringList &lines)
{
    QSaveFile list(path);
    return list.open(QIODevice::WriteOnly) && list.write(lines.join(u'\n').toUtf8()) >= 0 && list.commit();
}

// The sync account of a delete in sync mode, from the user's sync-details plist.
EngineCommandLines::SyncAccount syncAccountOf(const QString &userName)
{
    const QString pathTemplate = QLLocalizedString(QStringLiteral("SyncDetailsFilePath"));
    const QString path = PathStandardizer::standardizePath(PathTemplate::fillTemplate(pathTemplate, {userName}));
    const QVariantMap details = PropertyList::readDictionary(path);
    return {QLUtility::getSyncUserName(userName), details.value(SyncDetailsKeys::kRuvoServerIP).toString(),
            details.value(SyncDetailsKeys::kSyncEncodedPassword).toString()};
}

}  // namespace

RuvoDeleteController::RuvoDeleteController(RuvoDeleteTimings timings)
    : mTimings(timings)
    , mCommandExe(nullptr, timings.runner)
{}

RuvoDeleteController::~RuvoDeleteController()
{
    // No run end or search result reaches a controller that is going.
    mCommandExe.setDelegate(nullptr);
    mCommandExe.stopProcess();
}

QString RuvoDeleteController::userNameForDB() const
{
    const QString userName = mUserObject.UserName();
    return QLUtility::isAppInBackupMode(userName) ? userName : QLUtility::getSyncUserName(userName);
}

void RuvoDeleteController::startDelete()
{
    if (mIsRunning)
        return;
    ++mOperation;
    mRunInFlight = false;
    if (mDelegateObj)
        mDelegateObj->deleteDidStart(this);
    mDeletionCancel = false;
    mIsRunning = true;
    mFolderCountForDelete = 0;
    mFileCountForDelete = 0;
    mBackupMode = QLUtility::isAppInBackupMode(mUserObject.UserName());
    mDeleteSetWithMPC.clear();
    mCollecting.clear();
    mDeleteMaxEngineCount = int(mFolderSetFordelete.size() + mFileSetForDelete.size());
    reloadProxySettings();
    if (mDeleteMaxEngineCount == 0) {
        // Nothing selected: nothing to delete.
        mIsRunning = false;
        if (mDelegateObj)
            mDelegateObj->deleteDidFinishSuccessfully(this);
        return;
    }
    if (!mFolderSetFordelete.isEmpty())
        startSearch(SearchKind::Folders);
    if (!mFileSetForDelete.isEmpty())
        startSearch(SearchKind::Files);
}

void RuvoDeleteController::startSearch(SearchKind kind)
{
    auto search = std::make_unique<RuvoSearchController>(mTimings.index);
    search->setDelegate(this);
    search->setUser(mUserObject);
    search->setProxyDetails(mProxyObject);
    search->setSearchKey(QString());
    mCollecting.insert(search.get(), {});
    search->setOpType(kind == SearchKind::Folders ? RuvoSearchController::InsideFolder : RuvoSearchController::ForPath);
    (kind == SearchKind::Folders ? mFolderSearch : mFileSearch) = std::move(search);
    advanceSearch(kind);
}

// Searches the next entry of the kind's selection; false when none is left.
bool RuvoDeleteController::advanceSearch(SearchKind kind)
{
    if (kind == SearchKind::Folders) {
        if (mFolderCountForDelete >= mFolderSetFordelete.size())
            return false;
        const QString folder = mFolderSetFordelete.at(mFolderCountForDelete++);
        mFolderSearch->setPathRoot(folder.startsWith(u'/') ? folder : u'/' + folder);
        mFolderSearch->startSearch();
        return true;
    }
    if (mFileCountForDelete >= mFileSetForDelete.size())
        return false;
    const QVariantMap files = mFileSetForDelete.at(mFileCountForDelete++);
    mFileSearch->setPathRoot(files.isEmpty() ? QString() : files.firstKey());
    mFileSearch->startSearchForFiles(files);
    return true;
}

RuvoDeleteController::SearchKind RuvoDeleteController::kindOf(RuvoSearchController *search) const
{
    return search == mFolderSearch.get() ? SearchKind::Folders : SearchKind::Files;
}

void RuvoDeleteController::onMainThread(std::function<void()> work)
{
    const quint64 operation = mOperation;
    MainThread::runInThreadOf(&mMainThreadContext, [this, operation, work = std::move(work)] {
        // Results of a cancelled operation are dropped.
        if (operation == mOperation && !mDeletionCancel)
            work();
    });
}

void RuvoDeleteController::searchDidReceiveData(const IndexEntries &rows, RuvoSearchController *search)
{
    DeleteSet set;
    for (const IndexEntry &row : rows) {
        const QString storedName = QStringLiteral("/%1/%2").arg(row.folderID, row.encFilename);
        set.lines << storedName;
        if (!row.fileName.isEmpty())
            set.pathsByStoredName.insert(storedName, row.fileName);
    }
    // The computer folder of the set: the first row's, in backup mode only.
    const bool backupMode = mBackupMode;
    if (backupMode && !rows.isEmpty())
        set.computerFolder = rows.first().mpcName;
    onMainThread([this, search, set] { mCollecting[search] = set; });
}

void RuvoDeleteController::searchDidFinishSuccessfully(RuvoSearchController *search)
{
    onMainThread([this, search] { setFinished(search); });
}

void RuvoDeleteController::searchDidFailWithError(const QString &error, RuvoSearchController *search)
{
    onMainThread([this, search, error] { searchFailed(search, error); });
}

void RuvoDeleteController::setFinished(RuvoSearchController *search)
{
    closeSet(mCollecting.value(search));
    mCollecting[search] = {};
    if (mIsRunning && !mDeletionCancel)
        advanceSearch(kindOf(search));
}

void RuvoDeleteController::searchFailed(RuvoSearchController *search, const QString &error)
{
    const DeleteSet collected = mCollecting.value(search);
    mCollecting[search] = {};
    if (collected.lines.isEmpty()) {
        // The entry ends as failed; the operation ends with the last entry expected.
        setDone(false, error);
    } else {
        // What was found before the failure is still deleted, and ends the entry.
        if (mDelegateObj)
            mDelegateObj->deleteDidFailWithError(error, this);
        closeSet(collected);
    }
    if (mIsRunning && !mDeletionCancel)
        advanceSearch(kindOf(search));
}

void RuvoDeleteController::closeSet(DeleteSet set)
{
    if (set.lines.isEmpty()) {
        // Nothing of this entry is stored: it is done without a run.
        setDone(true, QString());
        return;
    }
    if (mRunInFlight) {
        mDeleteSetWithMPC.append(std::move(set));
        return;
    }
    mRunInFlight = true;
    RuvofireDeleteEngineForFiles(set);
}

void RuvoDeleteController::RuvofireDeleteEngineForFiles(const DeleteSet &set)
{
    reloadProxySettings();
    // The list names what is stored where: it lies in a folder of this user's alone.
    mListFolder = PrivateFolder::makeTemporaryFolder(QStringLiteral("delete"));
    const QString listFile = mListFolder ? mListFolder->filePath(QStringLiteral("Delete")) : QString();
    if (listFile.isEmpty() || !writeList(listFile, set.lines)) {
        // Without its list the engine must not run: the set fails.
        mListFolder.reset();
        mRunInFlight = false;
        setDone(false, kDeleteFailedText);
        callRuvo();
        return;
    }
    mRunPaths = set.pathsByStoredName;
    std::optional<EngineCommandLines::SyncAccount> syncAccount;
    if (!mBackupMode)
        syncAccount = syncAccountOf(mUserObject.UserName());
    mCommandExe.setCommandString(mTXSExecutorPath);
    mCommandExe.setCommandArguments(EngineCommandLines::deleteItems(
        mUserObject, mProxyObject.proxyArgument(), mDestinationPath, set.computerFolder, listFile, syncAccount));
    mCommandExe.setDelegate(this);
    mCommandExe.performAsynchronousExecutionFor(TXCommandExcecuter::kSpillingRun,
                                                PathStandardizer::standardizePath(kSpillFolder));
}

void RuvoDeleteController::callRuvo()
{
    if (mRunInFlight || mDeleteSetWithMPC.isEmpty() || mDeletionCancel)
        return;
    mRunInFlight = true;
    RuvofireDeleteEngineForFiles(mDeleteSetWithMPC.takeFirst());
}

// One set has ended; the operation ends with the last one expected.
void RuvoDeleteController::setDone(bool succeeded, const QString &error)
{
    --mDeleteMaxEngineCount;
    mIsDeletionSuccesful = succeeded;
    const bool last = mDeleteMaxEngineCount <= 0;
    if (last)
        mIsRunning = false;
    if (!mDelegateObj)
        return;
    if (!succeeded)
        mDelegateObj->deleteDidFailWithError(error, this);
    else if (last)
        mDelegateObj->deleteDidFinishSuccessfully(this);
}

void RuvoDeleteController::ruvoTaskFinished(TXCommandExcecuter *runner)
{
    mListFolder.reset();
    mRunInFlight = false;
    if (mDeletionCancel)
        return endCancelled();
    const QString errors = runner->errorStr();
    if (errors.isEmpty()) {
        readOutPut(runner);
        ParseDeleteOperation(runner->outStr());
        setDone(true, QString());
    } else {
        setDone(false, failureText(errors));
    }
    if (mIsRunning)
        callRuvo();
}

QString RuvoDeleteController::failureText(const QString &errors)
{
    if (errors.contains(ControllerTexts::kMaintenancePhrase))
        return ControllerTexts::kMaintenanceAlert;
    if (errors.contains(kUploadInProgressText))
        return kUploadInProgressText;
    // Items the engine reported before it failed.
    ParseDeleteOperation(mCommandExe.outStr());
    ParseDeleteOperation(errors);
    return mentionsThumbnail(errors) ? QString() : kDeleteFailedText;
}

void RuvoDeleteController::readOutPut(TXCommandExcecuter *)
{
    // Spill files are named by their time stamp: name order is the engine's order.
    const QDir folder(PathStandardizer::standardizePath(kSpillFolder));
    if (!folder.exists())
        return;
    for (const QString &name : folder.entryList(QDir::Files, QDir::Name)) {
        if (mDeletionCancel)
            return;
        QFile file(folder.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QString text = QString::fromUtf8(file.readAll());
        file.close();
        file.remove();
        ParseDeleteOperation(text);
    }
}

void RuvoDeleteController::ParseDeleteOperation(const QString &text)
{
    if (text.isEmpty() || !mDelegateObj)
        return;
    DeleteHandlerData record;
    int parsed = 0;
    for (const QString &line : text.split(u'\n')) {
        if (QLSYNCParser::ParseLineStr(line, record, kDeleteOutputType) == QLSYNCParser::Parsed) {
            if (line.contains(QStringLiteral("deleted")) && !line.contains(QStringLiteral("tot_items_deleted")) &&
                record.operationStatus() == u"deleted" && !isThumbnail(record.fileName()))
                mDelegateObj->deleteDidReceiveData(record.fileName());
        } else if (line.startsWith(QStringLiteral("IOERROR"))) {
            const QStringList pieces = line.split(QStringLiteral("Reason:"));
            const qsizetype open = pieces.first().indexOf(u'[');
            const qsizetype close = pieces.first().lastIndexOf(u']');
            if (pieces.size() >= 2 && open >= 0 && close > open) {
                // An item the engine did not find on the drive it names by its list line.
                const QString named = pieces.first().mid(open + 1, close - open - 1);
                const QString path = mRunPaths.value(named, named);
                if (pieces.at(1) == u" No such file or directory")
                    mDelegateObj->deleteDidReceiveData(path);
                else
                    mDelegateObj->deleteDidReceiveErrors(pieces.at(1), path);
            }
        }
        if (++parsed % mTimings.linesPerPause == 0)
            QThread::msleep(std::chrono::milliseconds(mTimings.linePause).count());
    }
}

void RuvoDeleteController::cancelDelete()
{
    if (!mIsRunning)
        return;
    mDeletionCancel = true;
    // Queued sets and collected rows belong to the cancelled operation.
    ++mOperation;
    mDeleteSetWithMPC.clear();
    mCollecting.clear();
    if (mRunInFlight)
        mCommandExe.stopProcess();
    else
        endCancelled();
}

void RuvoDeleteController::endCancelled()
{
    mIsRunning = false;
    if (mDelegateObj)
        mDelegateObj->deleteDidCancel(this);
}
