#include "engine/controllers/DataTransferRateController.h"

#include "common/texts/QLLocalizedString.h"
#include "common/transfer/FileTransferRateData.h"
#include "engine/command/EngineCommandLines.h"
#include "engine/controllers/BandwidthTestWindow.h"
#include "engine/controllers/ControllerTexts.h"
#include "engine/parsing/QLSYNCParser.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kRateOutputType = 5;
// The unit after the number of a rate text ("KB/s").
constexpr qsizetype kRateUnitLength = 4;
// One gigabyte in kilobytes.
constexpr double kKilobytesPerGigabyte = 1048576;
// Far beyond any time worth showing, and still a whole number of seconds.
constexpr double kLongestTime = 1e12;

const QString kEncryptionPhrase = QStringLiteral("encryption verification failed");
const QString kOldVersionPhrase = QStringLiteral("@ERROR: protocol version mismatch");
const QString kEncryptionAlert = QStringLiteral("Enter a valid encryption Key");
const QString kOldVersionAlert = QStringLiteral(
    "You are currently using an older version of the application. Download and install the latest version from ");
const QString kGenericAlert = QStringLiteral("Unable to retrieve the information. Try later.");
// The brand's web site, where the latest version is offered.
const QString kWebSiteKey = QStringLiteral("TarnixAccountWebSiteURL");

struct TestTexts
{
    QString progressTitle;  // the progress state's title tells the two tests apart
    QString progressMessage;
    QString resultTitle;
    QString resultMessage;
    QString timeEnd;  // after "It will take <time>"
};

const TestTexts &textsFor(DataTransferRateController::Test test)
{
    static const TestTexts upload{QStringLiteral(""), QStringLiteral("Upload bandwidth test is in progress..."),
                                  QStringLiteral("Upload Speed"), QStringLiteral("Your current upload speed is:"),
                                  QStringLiteral(" to upload 1GB of data")};
    static const TestTexts download{QStringLiteral(" "), QStringLiteral("Download bandwidth test is in progress..."),
                                    QStringLiteral("Download Speed"), QStringLiteral("Your current download speed is:"),
                                    QStringLiteral(" to download 1GB of data")};
    return test == DataTransferRateController::Test::Upload ? upload : download;
}

}  // namespace

DataTransferRateController::DataTransferRateController(BandwidthTestWindow &window, TXCommandExcecuterTimings timings)
    : mWindow(window)
    , mCommandExe(nullptr, timings)
{}

void DataTransferRateController::startTest(Test test)
{
    // The run it replaces reports nothing.
    if (mCommandExe.isRunning())
        mCommandExe.stopProcess();
    mTest = test;
    mIsClosed = false;
    const bool upload = test == Test::Upload;
    mWindow.setTestButtonStates(upload, !upload);
    mWindow.setTestButtonsEnabled(false);
    mWindow.launchWindowWithName(textsFor(test).progressTitle, textsFor(test).progressMessage);

    mCommandExe.setCommandString(QLLocalizedString(mUserObject.isRuvoUser() ? QStringLiteral("ExecuterPathRuvo")
                                                                            : QStringLiteral("ExecuterPath")));
    mCommandExe.setCommandArguments(EngineCommandLines::bandwidthTest(mUserObject, upload));
    mCommandExe.setDelegate(this);
    mCommandExe.performAsynchronousExecutionFor(TXCommandExcecuter::kPlainRun, QString());
}

void DataTransferRateController::closeWindow()
{
    if (mCommandExe.isRunning()) {
        mIsClosed = true;
        mCommandExe.stopProcess();
    }
    mWindow.setTestButtonsEnabled(true);
    mWindow.hideWindow();
}

void DataTransferRateController::ruvoTaskFinished(TXCommandExcecuter *runner)
{
    if (mIsClosed) {
        mIsClosed = false;
        return;
    }
    const QString errors = runner->errorStr();
    if (!errors.isEmpty())
        return fail(alertForError(errors));
    const std::optional<QString> rate = lastRate(runner->outStr());
    const std::optional<double> number = rate ? rateNumber(*rate) : std::nullopt;
    // No rate, or one without a number: nothing was measured.
    if (!number)
        return fail(kGenericAlert);
    const TestTexts &texts = textsFor(mTest);
    mWindow.upDateResult(dataRateText(*number),
                         QStringLiteral("It will take ") + calulateTimePerGBForSpeed(*number) + texts.timeEnd,
                         texts.resultMessage, texts.resultTitle);
    mWindow.setTestButtonsEnabled(true);
}

void DataTransferRateController::fail(const QString &alert)
{
    mWindow.showAlert(alert);
    closeWindow();
}

std::optional<double> DataTransferRateController::rateNumber(const QString &rate)
{
    if (rate.size() <= kRateUnitLength)
        return std::nullopt;
    bool isNumber = false;
    const double number = rate.chopped(kRateUnitLength).trimmed().toDouble(&isNumber);
    if (!isNumber || !std::isfinite(number))
        return std::nullopt;
    return number;
}

QString DataTransferRateController::dataRateText(double rateNumber)
{
    return QString::asprintf("%1.2f Kb/sec", rateNumber > 0 ? rateNumber * 8 : 8.0);
}

QString DataTransferRateController::calulateTimePerGBForSpeed(double rateNumber)
{
    const double seconds =
        rateNumber > 0 ? std::min(std::floor(kKilobytesPerGigabyte / rateNumber), kLongestTime) : kKilobytesPerGigabyte;
    const qint64 total = qint64(seconds);
    const qint64 hours = total / 3600;
    const qint64 minutes = (total % 3600) / 60;
    const qint64 rest = total % 60;
    if (total < 60)
        return QStringLiteral("%1 sec").arg(total);
    if (total < 3600)
        return rest != 0 ? QStringLiteral("%1 mins %2 sec").arg(minutes).arg(rest)
                         : QStringLiteral("%1 mins").arg(minutes);
    return total % 3600 >= 60 ? QStringLiteral("%1 hours %2 mins").arg(hours).arg(minutes)
                              : QStringLiteral("%1 hours").arg(hours);
}

QString DataTransferRateController::alertForError(const QString &errors)
{
    if (errors.contains(ControllerTexts::kMaintenancePhrase))
        return ControllerTexts::kMaintenanceAlert;
    if (errors.contains(kEncryptionPhrase))
        return kEncryptionAlert;
    if (errors.contains(kOldVersionPhrase))
        return kOldVersionAlert + QLLocalizedString(kWebSiteKey);
    return kGenericAlert;
}

std::optional<QString> DataTransferRateController::lastRate(const QString &output)
{
    std::optional<QString> rate;
    FileTransferRateData record;
    for (const QString &line : output.split(u'\n')) {
        if (QLSYNCParser::ParseLineStr(line, record, kRateOutputType) == QLSYNCParser::Parsed &&
            !record.FileTransferRate().isNull())
            rate = record.FileTransferRate();
    }
    return rate;
}
