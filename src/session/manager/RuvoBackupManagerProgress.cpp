// The engines' progress lines turned into progress reports for the delegate.

#include "session/manager/RuvoBackupManager.h"

#include "common/transfer/FileTransferData.h"
#include "common/utility/QLUtility.h"
#include "engine/command/TarnixProcessLib.h"
#include "engine/parsing/QLSYNCParser.h"
#include "session/manager/BackedUpFileQueue.h"
#include "session/manager/RuvoBackupRestoreHandlerProtocol.h"

namespace {

// Shorter lines are no progress lines of the engine.
constexpr qsizetype kShortestProgressLine = 76;
constexpr int kBackupColumns = 0;
constexpr int kRestoreColumns = 7;

QString sizeText(double bytes)
{
    return QLUtility::formatedFileSizeAsString(quint64(std::max(0.0, bytes)));
}

QString clockText(long seconds)
{
    return QLUtility::timeDisplayFormatHour(int(seconds / 3600), int(seconds % 3600 / 60), int(seconds % 60));
}

}  // namespace

void RuvoBackupManager::updateProgress(const QString &lines, TarnixProcessLib *engine)
{
    if (lines.isEmpty() || !mIsRunning)
        return;
    EngineSlot &slot = slotOf(engine);
    // One report serves every line of the call; a key set for one line stays for the next.
    ProgressReport report;
    report.set(ProgressReport::TotalFileCount, QString::number(mFilesConsideredforOp));
    QList<QVariantMap> sent;
    // Each line is read in place: a record keeps copies of the values it needs.
    for (const QStringView line : lines.tokenize(u'\n'))
        if (line.size() >= kShortestProgressLine)
            reportLine(QString::fromRawData(line.data(), line.size()), slot, report, sent);
    // One posted call per read rather than per line: thousands of lines can come in one read.
    if (!sent.isEmpty())
        notify([this, sent](RuvoBackupRestoreHandlerProtocol &d) {
            for (const QVariantMap &each : sent)
                d.operationDidReceiveData(each, this);
        });
}

void RuvoBackupManager::reportLine(const QString &line, EngineSlot &slot, ProgressReport &report,
                                   QList<QVariantMap> &sent)
{
    FileTransferData record;
    if (QLSYNCParser::ParseLineStr(line, record, isRestore ? kRestoreColumns : kBackupColumns) !=
        QLSYNCParser::Parsed)
        return;
    report.set(ProgressReport::FileTransferedStatus, QStringLiteral("In Progress"));
    if (record.fname() == QLatin1String("(null)"))
        return;
    TarnixProcessLib &engine = *slot.process;
    const QString relativePath = record.fname().isNull() ? QString("") : record.fname();
    const bool hasSize = !record.size().isNull();
    const double size = hasSize ? ProgressFigures::fieldNumber(record.size()) : 0;
    const QString mode = ProgressFigures::transferMode(record.trf_type(), isRestore);
    const bool inSync = mode == ProgressFigures::kSyncFileMode;
    const bool alreadyCompleted = slot.completedFiles.contains(relativePath);
    const bool completesFile = ProgressFigures::fieldNumber(record.per()) == 100.0;

    // A line of a file this run already completed (a retried block) changes no run totals.
    if (!alreadyCompleted) {
        engine.cumulativeSizeForSession = ProgressFigures::fieldNumber(record.tottrf_sz());
        engine.cumalativeIncrimaentalSkipSize = ProgressFigures::fieldNumber(record.cum_size());
    }
    if (completesFile) {
        if (!isRestore) {
            report.set(ProgressReport::EncFilename, record.enc_name());
            report.set(ProgressReport::MpcName, record.mpc());
            report.set(ProgressReport::FolderID, record.folder_id());
        }
        if (!alreadyCompleted) {
            if (!inSync) {
                slot.completedFiles.insert(relativePath, size);
            } else if (!mTotalSyncFileList.contains(relativePath)) {
                mTotalSyncFileList.insert(relativePath, size);
                mSyncTotalBytes += size;
            }
        }
        if (!inSync) {
            (mode == QLatin1String("[Incremental Restore]") ? mFileIncSyncedSuccess : mFileSyncedSuccess) = relativePath;
            ++mSuccessCount;
        }
        report.set(ProgressReport::FileTransferedStatus, QStringLiteral("Done"));
    }

    slot.retryFlag = false;
    report.set(ProgressReport::Filename, relativePath);
    report.set(ProgressReport::Filesize, hasSize ? sizeText(size) : QLUtility::formatedFileSizeAsString({}));
    report.set(ProgressReport::TansferMode, mode);
    if (inSync) {
        ++mSyncFilesCountTheFly;
        ++mIncSuccessCount;
        report.set(ProgressReport::FileTransferedStatus, QStringLiteral("Done"));
    }

    // The whole session: bytes done against the bytes found to back up.
    double done = mSyncTotalBytes;
    for (const EngineSlot &each : mEngines)
        done += each.process->cumulativeSizeForSession + each.cumulativeSizeTillPreviousSession;
    const double total = double(mTotalBytes);
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
        report.set(ProgressReport::TransferSpeed, doneText + QLatin1String(" out of ") + totalText +
                                                           QLatin1String(" (") + speed + u')');
        report.set(ProgressReport::Speed, speed + QStringLiteral("/s"));
        mSpeedHistory.add(record.rate_trf());
    }
    const long elapsed = std::max<qint64>(1, mSessionClock.elapsed() / 1000);
    report.set(ProgressReport::EstimatedTime,
               clockText(ProgressFigures::calculateEstimatedTime(total - done, done, elapsed)));
    report.set(ProgressReport::VersionNumber, record.file_ver().isNull() ? QStringLiteral("1") : record.file_ver());

    // Every other in-progress line is reported; a completed file always is.
    if (!completesFile && mBlockCount % 2 != 0) {
        ++mBlockCount;
        return;
    }
    ProgressReport snapshot = report;
    if (!isRestore && !mBackupMode) {
        snapshot.set(ProgressReport::RelativePath, report.value(ProgressReport::Filename));
        snapshot.set(ProgressReport::Filename, engine.mParentFoldePath() + report.value(ProgressReport::Filename));
    }
    const QVariantMap sentReport = snapshot.toMap();
    if (!isRestore && mBackedUpFileQueue && snapshot.value(ProgressReport::FileTransferedStatus) == QLatin1String("Done"))
        mBackedUpFileQueue->addBackedUpFile(sentReport);
    sent << sentReport;
    mBlockCount = 1;
}
