#include "client/shell/account/SpaceUsedMeasure.h"

#include "engine/controllers/RuvoFolderSizeController.h"
#include "index/IndexQueryKeys.h"

#include <QMetaObject>
#include <QObject>

SpaceUsedMeasure::SpaceUsedMeasure(IndexTimings indexTimings, std::chrono::microseconds walkPause)
    : mIndexTimings(indexTimings)
    , mWalk(walkPause)
    , mRelay(std::make_unique<QObject>())
{}

SpaceUsedMeasure::~SpaceUsedMeasure() { stop(); }

void SpaceUsedMeasure::start(const User &account, const QString &folder, QObject *receiver, Result result)
{
    stop();
    mFolder = folder;
    mReceiver = receiver;
    mResult = std::move(result);
    mIndex = std::make_unique<RuvoFolderSizeController>(mIndexTimings);
    mIndex->userInfo() = account;
    mIndex->setFilePath(QStringLiteral(""));  // the whole account
    mIndex->setDelegate(this);
    mIndex->startFolderSizeCalculation();
}

void SpaceUsedMeasure::FolderSizeCalculationDidFinishSuccessfully(RuvoFolderSizeController *, const QVariantMap &output)
{
    const quint64 measure = mMeasure.load();
    const quint64 files = output.value(IndexQueryKeys::kFileCount).toString().toULongLong();
    const quint64 bytes = quint64(output.value(IndexQueryKeys::kFolderSize).toString().toDouble());
    QMetaObject::invokeMethod(mRelay.get(), [this, measure, files, bytes] {
        if (measure != mMeasure.load())
            return;
        if (files == 0)
            walk(measure);
        else
            mResult(bytes);
    });
}

void SpaceUsedMeasure::FolderSizeCalculationDidFailWithError(const QString &, RuvoFolderSizeController *)
{
    const quint64 measure = mMeasure.load();
    QMetaObject::invokeMethod(mRelay.get(), [this, measure] { walk(measure); });
}

void SpaceUsedMeasure::walk(quint64 measure)
{
    if (measure == mMeasure.load())
        mWalk.start(mFolder, mReceiver, mResult);
}

void SpaceUsedMeasure::keepOnlyFor(const QString &folder)
{
    if (folder != mFolder)
        stop();
}

void SpaceUsedMeasure::stop()
{
    // No answer of the index reaches this object once its query is gone, and the answers
    // already on their way are dropped by their measure number.
    mIndex.reset();
    ++mMeasure;
    mWalk.stop();
    mFolder.clear();
}
