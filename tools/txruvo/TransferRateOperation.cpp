#include "txruvo/TransferRateOperation.h"

#include "platform/PathRoots.h"

#include <QElapsedTimer>
#include <QTemporaryFile>

#include <algorithm>
#include <unistd.h>

namespace {

const QString kUploadOption = QStringLiteral("--trf-uprate");
// A move faster than the clock can tell still takes this long.
constexpr double kShortestSeconds = 1e-6;

}  // namespace

int TransferRateOperation::run()
{
    if (const std::optional<int> status = mRun.begin())
        return *status;
    const bool upload = mRun.commandLine().has(kUploadOption);
    std::optional<double> rate = mRun.scenario().transferRate;
    QString error;
    if (!rate)
        rate = measure(upload, &error);
    if (!rate)
        return mRun.fail(QStringLiteral("txruvo error: error in file IO (%1)").arg(error));
    const AnswerLine answer{
        QStringLiteral("transfer"),
        {{QStringLiteral("trf_type"), upload ? QStringLiteral("upload") : QStringLiteral("download")},
         {QStringLiteral("trf_rate"), QString::asprintf("%.2fKB/s", *rate)}},
        {}};
    if (const std::optional<int> stop = mRun.write(answer))
        return *stop;
    return mRun.finish();
}

std::optional<double> TransferRateOperation::measure(bool upload, QString *error) const
{
    QTemporaryFile scratch(PathRoots::temporaryRoot() + QStringLiteral("/.txruvo-bandwidth-XXXXXX"));
    if (!scratch.open()) {
        *error = scratch.errorString();
        return std::nullopt;
    }
    const QByteArray buffer(kBufferBytes, 'x');
    QElapsedTimer clock;
    clock.start();
    const bool written = scratch.write(buffer) == kBufferBytes && scratch.flush() && ::fsync(scratch.handle()) == 0;
    const qint64 writeNanoseconds = clock.nsecsElapsed();
    if (!written) {
        *error = scratch.errorString();
        return std::nullopt;
    }
    qint64 nanoseconds = writeNanoseconds;
    if (!upload) {
        scratch.seek(0);
        clock.restart();
        const bool read = scratch.read(kBufferBytes).size() == kBufferBytes;
        nanoseconds = clock.nsecsElapsed();
        if (!read) {
            *error = scratch.errorString();
            return std::nullopt;
        }
    }
    const double seconds = std::max(double(nanoseconds) / 1e9, kShortestSeconds);
    return double(kBufferBytes) / 1024 / seconds;
}
