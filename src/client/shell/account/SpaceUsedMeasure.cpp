#include "client/shell/account/SpaceUsedMeasure.h"

#include "common/account/User.h"
#include "engine/controllers/RuvoFolderSizeController.h"
#include "index/IndexQueryKeys.h"

#include <QMetaObject>
#include <QObject>
#include <QTimer>

SpaceUsedMeasure::SpaceUsedMeasure(const SpaceUsedTimings &timings)
    : mTimings(timings)
    , mWalk(timings.walkPause)
    , mRelay(std::make_unique<QObject>())
    , mRetry(std::make_unique<QTimer>())
{
    mRetry->setSingleShot(true);
    mRetry->setInterval(timings.indexRetry);
    QObject::connect(mRetry.get(), &QTimer::timeout, mRelay.get(), [this] { askIndex(); });
}

SpaceUsedMeasure::~SpaceUsedMeasure() { stop(); }

void SpaceUsedMeasure::start(const User &account, const QString &folder, QObject *receiver, Result result)
{
    stop();
    mFolder = folder;
    mReceiver = receiver;
    mResult = std::move(result);
    mIndex = std::make_unique<RuvoFolderSizeController>(mTimings.index);
    mIndex->userInfo() = account;
    mIndex->setFilePath(QStringLiteral(""));  // the whole account
    mIndex->setDelegate(this);
    mIndex->startFolderSizeCalculation();
}

void SpaceUsedMeasure::askIndex()
{
    if (mIndex)
        mIndex->startFolderSizeCalculation();
}

void SpaceUsedMeasure::FolderSizeCalculationDidFinishSuccessfully(RuvoFolderSizeController *, const QVariantMap &output)
{
    const quint64 measure = mMeasure.load();
    const quint64 files = output.value(IndexQueryKeys::kFileCount).toString().toULongLong();
    const quint64 bytes = quint64(output.value(IndexQueryKeys::kFolderSize).toString().toDouble());
    QMetaObject::invokeMethod(mRelay.get(), [this, measure, files, bytes] {
        indexAnswered(measure, files == 0 ? std::nullopt : std::optional<quint64>(bytes));
    });
}

void SpaceUsedMeasure::FolderSizeCalculationDidFailWithError(const QString &, RuvoFolderSizeController *)
{
    const quint64 measure = mMeasure.load();
    QMetaObject::invokeMethod(mRelay.get(), [this, measure] { indexAnswered(measure, std::nullopt); });
}

void SpaceUsedMeasure::indexAnswered(quint64 measure, std::optional<quint64> bytes)
{
    if (measure != mMeasure.load())
        return;
    if (bytes) {
        finish(*bytes);
        return;
    }
    if (!mWalk.isRunning()) {
        mWalk.start(mFolder, mReceiver, [this, measure](quint64 walked) {
            if (measure == mMeasure.load())
                finish(walked);
        });
    }
    mRetry->start();
}

void SpaceUsedMeasure::finish(quint64 bytes)
{
    // What the measure found ends it: later answers are dropped.
    const Result result = mResult;
    stop();
    result(bytes);
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
    mRetry->stop();
    mWalk.stop();
    mFolder.clear();
}
