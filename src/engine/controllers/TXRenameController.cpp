#include "engine/controllers/TXRenameController.h"

#include "common/utility/QLUtility.h"
#include "engine/controllers/ControllerTexts.h"
#include "engine/controllers/IndexQuery.h"
#include "engine/controllers/IndexUserName.h"
#include "engine/controllers/TXRenameControllerDelegateProtocol.h"
#include "engine/controllers/ThumbnailSuffixes.h"
#include "index/IndexQueryKeys.h"
#include "index/TXDatabaseWrapper.h"
#include "index/TXDatabaseWrapperDelegate.h"
#include "platform/MainThread.h"
#include "platform/NoReplaceRename.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString kMarkerSuffix = QStringLiteral("_.chk");
const QString kVersionMark = QStringLiteral(".qlvn");
const QString kUpdateFailedText = QStringLiteral("Database update failed");
const QStringList kImageExtensions = {"tif", "tiff", "bmp", "dib", "rle", "gif", "jpg", "jpeg", "jpe", "jfif", "png"};
const QStringList kVideoExtensions = {"wmv", "avi", "mov", "mpeg", "mpg", "flv", "3gp", "3gpp", "mp4", "m4v"};

// The thumbnails a backup keeps beside a file: three for an image, four for a video.
QStringList thumbnailSuffixesOf(const QString &path)
{
    QStringList suffixes;
    const bool video = QLUtility::isSupportedImageFile(path, kVideoExtensions);
    if (video || QLUtility::isSupportedImageFile(path, kImageExtensions))
        suffixes = ThumbnailSuffixes::ofImage();
    if (video)
        suffixes << ThumbnailSuffixes::kVideo;
    return suffixes;
}

QString lastComponent(const QString &path) { return path.section(u'/', -1); }

}  // namespace

// The index update of one item, on a worker thread of its own; its answer goes to the main thread.
class TXRenameController::IndexUpdate : public TXDatabaseWrapperDelegate
{
public:
    IndexUpdate(TXRenameController &owner, QVariantMap item)
        : mOwner(owner)
        , mItem(std::move(item))
        , mQuery(owner.mTimings)
    {}

    void start(const QString &indexUser, bool isFolder)
    {
        const QVariantMap item = mItem;
        mQuery.start(indexUser, *this, [item, isFolder](TXDatabaseWrapper &index) {
            if (isFolder)
                index.renameFolder(item);
            else
                index.renameFile(item);
        });
    }

private:
    void queryFinishedWithOutput(const QVariant &output) override { answer(output.toMap()); }
    // An index that cannot be opened names no item: the answer is this item's failure.
    void queryFailedWithError(const QString &) override
    {
        QVariantMap failed = mItem;
        failed.insert(IndexQueryKeys::kStatus, IndexQueryKeys::kFailure);
        failed.insert(IndexQueryKeys::kErrorDesc, kUpdateFailedText);
        answer(failed);
    }
    void answer(const QVariantMap &answer)
    {
        TXRenameController &owner = mOwner;
        MainThread::runInThreadOf(&owner.mMainThreadContext, [&owner, answer] { owner.notifyDelegate(answer); });
    }

    TXRenameController &mOwner;
    const QVariantMap mItem;
    IndexQuery mQuery;
};

TXRenameController::TXRenameController(IndexTimings timings)
    : mTimings(timings)
{}

TXRenameController::~TXRenameController() = default;

QString TXRenameController::dataRoot(const QString &indexUser) const
{
    const QString brandFolder =
        QLUtility::isTarnixApplication() ? QStringLiteral("TarnixVidezud/") : QStringLiteral("QuellonVidezud/");
    return mDestinationDrive + brandFolder + indexUser;
}

QVariantMap TXRenameController::onDrive(const QVariantMap &item) const
{
    QVariantMap drive = item;
    for (const QString &key : {IndexQueryKeys::kOriginalPath, IndexQueryKeys::kRenamedPath}) {
        const QString path = item.value(key).toString();
        const bool inComputerFolder = path == mComputerFolder || path.startsWith(mComputerFolder + QLatin1Char('/'));
        if (mComputerFolder.size() > 1 && !inComputerFolder)
            drive.insert(key, mComputerFolder + path);
    }
    return drive;
}

void TXRenameController::startRenameWithPaths(const QList<QVariantMap> &items)
{
    reloadProxySettings();
    mBackupMode = QLUtility::isAppInBackupMode(mUserObject.UserName());
    // Without an index user the index could not follow: nothing is moved.
    const QString indexUser = IndexUserName::forAccount(mUserObject);
    const QString root = dataRoot(indexUser);
    for (const QVariantMap &item : items) {
        const QVariantMap drive = onDrive(item);
        const QString source = root + drive.value(IndexQueryKeys::kOriginalPath).toString();
        const QString destination = root + drive.value(IndexQueryKeys::kRenamedPath).toString();
        if (indexUser.isEmpty()) {
            if (mDelegateObj)
                mDelegateObj->renameDidFailWithError(ControllerTexts::kNoIndexUser, this, source);
            return;
        }
        const bool isFolder = QFileInfo(source).isDir();
        if (const QString error = NoReplaceRename::renameNoReplace(source, destination); !error.isEmpty()) {
            if (mDelegateObj)
                mDelegateObj->renameDidFailWithError(error, this, source);
            return;
        }
        if (!isFolder)
            moveCompanions(drive, root, source, destination);
        updateIndex(indexUser, item, isFolder);
    }
}

void TXRenameController::moveCompanions(const QVariantMap &item, const QString &root, const QString &source,
                                        const QString &destination) const
{
    const QString original = item.value(IndexQueryKeys::kOriginalPath).toString();
    const QString renamed = item.value(IndexQueryKeys::kRenamedPath).toString();
    // Companions that fail to move are left where they are; the item itself has moved.
    if (mBackupMode) {
        const QString computerFolder = original.section(u'/', 1, 1);
        const QString rest = original.section(u'/', 2);
        const QString versionsPath =
            QStringLiteral("%1/%2/%3.ver/%4").arg(root, computerFolder, mUserObject.UserName(), rest);
        const QString folder = versionsPath.section(u'/', 0, -2);
        const QString oldName = lastComponent(original);
        const QString newName = lastComponent(renamed);
        renameVersionsForFile(oldName, newName, folder);
        renameVersionsForFile(oldName + kMarkerSuffix, newName + kMarkerSuffix, folder);
    }
    NoReplaceRename::renameNoReplace(source + kMarkerSuffix, destination + kMarkerSuffix);
    for (const QString &suffix : thumbnailSuffixesOf(original)) {
        NoReplaceRename::renameNoReplace(root + original + suffix, root + renamed + suffix);
        NoReplaceRename::renameNoReplace(root + original + suffix + kMarkerSuffix,
                                         root + renamed + suffix + kMarkerSuffix);
    }
}

void TXRenameController::renameVersionsForFile(const QString &oldName, const QString &newName, const QString &folder)
{
    const QString prefix = oldName + kVersionMark;
    const QDir versions(folder);
    for (const QString &name : versions.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (name.startsWith(prefix))
            NoReplaceRename::renameNoReplace(versions.filePath(name),
                                             versions.filePath(newName + name.mid(oldName.size())));
    }
}

void TXRenameController::updateIndex(const QString &indexUser, const QVariantMap &item, bool isFolder)
{
    mUpdates.emplace_back(*this, item);
    mUpdates.back().start(indexUser, isFolder);
}

void TXRenameController::notifyDelegate(const QVariantMap &answer)
{
    if (!mDelegateObj)
        return;
    if (answer.value(IndexQueryKeys::kStatus).toString() == IndexQueryKeys::kSuccess) {
        mDelegateObj->renameDidReceiveData(answer.value(IndexQueryKeys::kOriginalPath).toString(),
                                           answer.value(IndexQueryKeys::kRenamedPath).toString());
        mDelegateObj->renameDiDFinish(this);
        return;
    }
    mDelegateObj->renameDidFailWithError(answer.value(IndexQueryKeys::kErrorDesc).toString(), this,
                                         answer.value(IndexQueryKeys::kOriginalPath).toString());
}
