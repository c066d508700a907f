#include "engine/controllers/RuvoQuotaController.h"

#include "engine/command/EngineCommandLines.h"
#include "engine/controllers/ControllerTexts.h"
#include "engine/controllers/RuvoQuotaControllerDelegateProtocol.h"
#include "engine/parsing/QLSYNCParser.h"
#include "engine/parsing/QuotaHandlerData.h"

namespace {

const QString kErrorMark = QStringLiteral("ERROR");
const QString kMaintenanceText = QStringLiteral("account is under maintenance");
const QString kEncryptionText = QStringLiteral("encryption verification failed");
const QString kNoFiguresText = QStringLiteral("The engine's answer held no quota figures.");
constexpr int kQuotaOutputType = 5;

// Keeps a figure a line gave; one it did not give leaves the earlier one.
void keep(QString &figure, const QString &value, bool &found)
{
    if (value.isNull())
        return;
    figure = value;
    found = true;
}

}  // namespace

void RuvoQuotaController::runCalQuota()
{
    reloadProxySettings();
    mCommandExe.setCommandString(mTXSExecutorPath);
    mCommandExe.setCommandArguments(EngineCommandLines::quota(mUserObject, mProxyObject.proxyArgument(), false));
    mCommandExe.setDelegate(this);
    mCommandExe.performAsynchronousExecutionFor(TXCommandExcecuter::kPlainRun, QString());
}

std::optional<QVariantMap> RuvoQuotaController::quotaFromOutput(const QString &output)
{
    QString used = QStringLiteral("");
    QString total = QStringLiteral("");
    QString fileCount = QStringLiteral("");
    bool found = false;
    QuotaHandlerData record;
    const QStringList lines = output.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString line = lines.at(i);
        // An element broken over two lines.
        if (line.startsWith(u'<') && !line.endsWith(u'>') && i + 1 < lines.size())
            line += u' ' + lines.at(++i);
        if (QLSYNCParser::ParseLineStr(line, record, kQuotaOutputType) != QLSYNCParser::Parsed)
            continue;
        keep(total, record.totalQuota(), found);
        keep(used, record.usedQuota(), found);
        keep(fileCount, record.totalFilesCount(), found);
    }
    if (!found)
        return std::nullopt;
    return QVariantMap{{kUsedQuotaKey, used}, {kTotalQuotaKey, total}, {kFileCountKey, fileCount}};
}

void RuvoQuotaController::ruvoTaskFinished(TXCommandExcecuter *runner)
{
    const QString output = runner->outStr();
    const QString errors = runner->errorStr();
    // The engine's own failures, whatever else it wrote.
    if (output.contains(kErrorMark))
        return fail(output);
    if (errors.contains(kErrorMark))
        return fail(errors);
    if (output.isEmpty()) {
        if (errors.contains(kMaintenanceText))
            return fail(kMaintenanceText);
        if (errors.contains(kEncryptionText))
            return fail(kEncryptionText);
        return fail(errors.isEmpty() ? ControllerTexts::kNoEngineAnswer : errors);
    }
    const std::optional<QVariantMap> quota = quotaFromOutput(output);
    if (!quota)
        return fail(kNoFiguresText);
    if (mDelegateObj)
        mDelegateObj->RuvoQuotaCalculationDidFinishSuccessfully(this, *quota);
}

void RuvoQuotaController::fail(const QString &error)
{
    if (mDelegateObj)
        mDelegateObj->RuvoQuotaCalculationDidFailWithError(error, this);
}
