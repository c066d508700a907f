#include "engine/controllers/RuvoFolderSizeController.h"

#include "engine/controllers/IndexUserName.h"
#include "engine/controllers/RuvoFolderSizeControllerDelegateProtocol.h"
#include "index/IndexQueryKeys.h"
#include "index/TXDatabaseWrapper.h"

#include <QVariantMap>

namespace {

// A failure the index gave without a reason (its size statement returned no row).
const QString kNoSizeText = QStringLiteral("The index gave no size for this folder.");

}  // namespace

void RuvoFolderSizeController::setFilePath(const QString &path)
{
    if (!path.isNull())
        mFolderPath = path;
}

void RuvoFolderSizeController::startFolderSizeCalculation()
{
    const QString folder = mFolderPath;
    mQuery.start(IndexUserName::forAccount(mUserObject), *this,
                 [folder](TXDatabaseWrapper &index) { index.getProperties(folder); });
}

void RuvoFolderSizeController::queryFinishedWithOutput(const QVariant &output)
{
    const QVariantMap properties = output.toMap();
    if (properties.value(IndexQueryKeys::kStatus).toString() == IndexQueryKeys::kSuccess) {
        if (mDelegateObj)
            mDelegateObj->FolderSizeCalculationDidFinishSuccessfully(this, properties);
        return;
    }
    // "Failure", or an answer that is neither: the caller still hears the end.
    const QString reason = properties.value(IndexQueryKeys::kErrorMssg).toString();
    queryFailedWithError(reason.isEmpty() ? kNoSizeText : reason);
}

void RuvoFolderSizeController::queryFailedWithError(const QString &error)
{
    if (mDelegateObj)
        mDelegateObj->FolderSizeCalculationDidFailWithError(error, this);
}
