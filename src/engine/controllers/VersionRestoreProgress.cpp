#include "engine/controllers/VersionRestoreProgress.h"

#include "common/transfer/FileTransferData.h"
#include "common/utility/QLUtility.h"
#include "engine/parsing/TXVersion.h"

#include <QRandomGenerator>

#include <algorithm>
#include <cmath>

namespace {

constexpr qint64 kUnknownEstimate = 5;
constexpr qint64 kLongestEstimate = 43200;  // 12 hours
constexpr qint64 kLongLow = 28800;          // 8 hours
constexpr qint64 kLongHigh = 43199;

QString transferMode(const QString &type)
{
    if (type.startsWith(QStringLiteral("FULL")) || type.startsWith(QStringLiteral("Full Restore")))
        return QStringLiteral("[Full Restore]");
    if (type.startsWith(QStringLiteral("INCREMENTAL")) || type.startsWith(QStringLiteral("Incremental Restore")))
        return QStringLiteral("[Incremental Restore]");
    return QStringLiteral("[Sync File]");
}

}  // namespace

QString VersionRestoreProgress::targetName(const QString &storedPath, int version)
{
    return storedPath + QStringLiteral("_QLVER") + QStringLiteral("%1").arg(version, 3, 10, QLatin1Char('0'));
}

qint64 VersionRestoreProgress::uniformDraw(qint64 low, qint64 high)
{
    return QRandomGenerator::global()->bounded(low, high + 1);
}

qint64 VersionRestoreProgress::calculateEstimatedTime(double remaining, double transferred, qint64 elapsed,
                                                      const Draw &draw)
{
    const double quotient = double(elapsed) * remaining / transferred;
    if (!std::isfinite(quotient) || quotient < 1)
        return kUnknownEstimate;
    if (quotient >= double(kLongestEstimate + 1))
        return draw(kLongLow, kLongHigh);
    return qint64(quotient);
}

void VersionRestoreProgress::update(ProgressReport &progress, const FileTransferData &line, const TXVersion &version,
                                    double transferred, qint64 elapsed, const Draw &draw)
{
    progress.set(ProgressReport::FileTransferedStatus,
                 line.per().toDouble() == 100 ? ProgressReport::kDone : ProgressReport::kInProgress);
    if (!line.fname().isEmpty())
        progress.set(ProgressReport::Filename, line.fname());
    if (!version.size().isEmpty())
        progress.set(ProgressReport::Filesize, version.size());
    progress.set(ProgressReport::TansferMode, transferMode(line.trf_type()));

    const quint64 total = quint64(version.SizeinBytes());
    double done = transferred;
    const float percentage = total == 0 ? 0 : std::min(float(done / double(total) * 100), 100.0f);
    if (percentage >= 100)
        done = double(total);
    const QString doneText = QLUtility::formatedFileSizeAsString(quint64(done));
    const QString totalText = QLUtility::formatedFileSizeAsString(total);
    progress.set(ProgressReport::Percentage, QString::asprintf("%.0f", double(percentage)));
    progress.set(ProgressReport::Cumulativetransfersize, doneText);
    progress.set(ProgressReport::Totalsize, totalText);
    if (!line.rate_trf().isNull() && total != 0) {
        const QString speed =
            QLUtility::formatedFileSizeInBits(quint64(line.rate_trf().trimmed().toDouble())) + QStringLiteral("/s");
        progress.set(ProgressReport::Speed, speed);
        progress.set(ProgressReport::TransferSpeed,
                     QStringLiteral("%1 out of %2 (%3)").arg(doneText, totalText, speed));
    }
    const qint64 left = calculateEstimatedTime(double(total) - done, done, std::max<qint64>(elapsed, 1), draw);
    progress.set(ProgressReport::EstimatedTime,
                 QLUtility::timeDisplayFormatHour(int(left / 3600), int(left % 3600 / 60), int(left % 60)));
}
