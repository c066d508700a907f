#include "session/progress/ProgressAccounting.h"

#include "common/transfer/FileTransferData.h"
#include "common/utility/QLUtility.h"

#include <algorithm>

namespace {

QString sizeText(double bytes) { return QLUtility::formatedFileSizeAsString(quint64(std::max(0.0, bytes))); }

QString clockText(long seconds)
{
    return QLUtility::timeDisplayFormatHour(int(seconds / 3600), int(seconds % 3600 / 60), int(seconds % 60));
}

}  // namespace

void ProgressAccounting::reset(bool restore, bool backupMode)
{
    mRestore = restore;
    mBackupMode = backupMode;
    mRuns = {};
    mSessionClock.start();
    mSpeedHistory.clear();
    mBlockCount = 0;
    mSuccessCount = mIncSuccessCount = mSyncFilesCountTheFly = 0;
    mSyncTotalBytes = 0;
}

void ProgressAccounting::engineLaunched(int engine, bool firstLaunch)
{
    EngineRun &run = mRuns[engine];
    if (!firstLaunch)
        run.tillPreviousRuns += run.thisRun;
    run.thisRun = 0;
}

bool ProgressAccounting::namesAFile(const FileTransferData &record)
{
    return record.fname() != QLatin1String("(null)");
}

double ProgressAccounting::bytesDone() const
{
    double done = mSyncTotalBytes;
    for (const EngineRun &run : mRuns)
        done += run.thisRun + run.tillPreviousRuns;
    return done;
}

std::optional<ProgressReport> ProgressAccounting::readLine(const FileTransferData &record, int engine,
                                                           ProgressReport &report, double totalBytes,
                                                           const QString &syncParentFolder)
{
    report.set(ProgressReport::FileTransferedStatus, ProgressReport::kInProgress);
    if (!namesAFile(record))
        return std::nullopt;
    EngineRun &run = mRuns[engine];
    const QString relativePath = record.fname().isNull() ? QString("") : record.fname();
    const bool hasSize = !record.size().isNull();
    const double size = hasSize ? ProgressFigures::fieldNumber(record.size()) : 0;
    const QString mode = ProgressFigures::transferMode(record.trf_type(), mRestore);
    const bool inSync = mode == ProgressFigures::kSyncFileMode;
    const bool completesFile = ProgressFigures::fieldNumber(record.per()) == 100.0;
    const bool alreadyCounted = run.countedFiles.contains(relativePath);

    // A line of a file this block already counted (a retried block) changes no totals.
    if (!alreadyCounted)
        run.thisRun = ProgressFigures::fieldNumber(record.tottrf_sz());
    if (completesFile && !mRestore) {
        report.set(ProgressReport::EncFilename, record.enc_name());
        report.set(ProgressReport::MpcName, record.mpc());
        report.set(ProgressReport::FolderID, record.folder_id());
    }
    if ((completesFile || inSync) && !alreadyCounted) {
        run.countedFiles.insert(relativePath);
        if (inSync) {
            ++mSyncFilesCountTheFly;
            ++mIncSuccessCount;
            mSyncTotalBytes += size;
        } else {
            ++mSuccessCount;
        }
    }
    if (completesFile || inSync)
        report.set(ProgressReport::FileTransferedStatus, ProgressReport::kDone);

    report.set(ProgressReport::Filename, relativePath);
    report.set(ProgressReport::Filesize, hasSize ? sizeText(size) : QLUtility::formatedFileSizeAsString({}));
    report.set(ProgressReport::TansferMode, mode);
    setFigures(record, report, totalBytes);

    // Every other in-progress line is reported; a completed file always is.
    if (!completesFile && mBlockCount % 2 != 0) {
        ++mBlockCount;
        return std::nullopt;
    }
    mBlockCount = 1;
    ProgressReport sent = report;
    if (!mRestore && !mBackupMode) {
        sent.set(ProgressReport::RelativePath, report.value(ProgressReport::Filename));
        sent.set(ProgressReport::Filename, syncParentFolder + report.value(ProgressReport::Filename));
    }
    return sent;
}

// The whole session: bytes done against the bytes found to back up.
void ProgressAccounting::setFigures(const FileTransferData &record, ProgressReport &report, double total)
{
    double done = bytesDone();
    if (total > 0) {
        const double percentage = std::min(100.0, done / total * 100.0);
        if (percentage >= 100.0)
            done = total;
        report.set(ProgressReport::Percentage, QString::number(percentage, 'f', 0));
    }
    const QString totalText = sizeText(total);
    const QString doneText = sizeText(done);
    if (total > 0)
        report.set(ProgressReport::Totalsize, totalText);
    report.set(ProgressReport::Cumulativetransfersize, doneText);
    if (!record.rate_trf().isNull()) {
        const QString speed = QLUtility::formatedFileSizeInBits(quint64(mSpeedHistory.calulateAverageTransferSpeed()));
        const QString rate = speed + QStringLiteral("/s");
        report.set(ProgressReport::TransferSpeed,
                   doneText + QLatin1String(" out of ") + totalText + QLatin1String(" (") + rate + u')');
        report.set(ProgressReport::Speed, rate);
        mSpeedHistory.add(record.rate_trf());
    }
    // Nothing left to do has no estimate (an empty one).
    const long elapsed = std::max<qint64>(1, mSessionClock.elapsed() / 1000);
    const bool nothingLeft = total > 0 && done >= total;
    report.set(ProgressReport::EstimatedTime,
               nothingLeft ? QString("")
                           : clockText(ProgressFigures::calculateEstimatedTime(total - done, done, elapsed)));
    report.set(ProgressReport::VersionNumber, record.file_ver().isNull() ? QStringLiteral("1") : record.file_ver());
}
