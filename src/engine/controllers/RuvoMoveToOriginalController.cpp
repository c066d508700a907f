#include "engine/controllers/RuvoMoveToOriginalController.h"

#include "engine/command/EngineCommandLines.h"
#include "engine/controllers/ControllerTexts.h"
#include "engine/controllers/RuvoMoveToOriginalControllerDelegateProtocol.h"
#include "engine/parsing/PutBackData.h"
#include "engine/parsing/QLSYNCParser.h"
#include "platform/PrivateFolder.h"

#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>

namespace {

// The columns of a bracketed answer are the operation and the item, as in a delete's.
constexpr int kMoveOutputType = 4;
const QString kListName = QStringLiteral("MoveFiles.txt");
const QString kErrorName = QStringLiteral("errorM.txt");
const QString kListNotWritten = QStringLiteral("The list of items to move could not be written.");

}  // namespace

RuvoMoveToOriginalController::RuvoMoveToOriginalController(TXCommandExcecuterTimings timings)
    : mCommandExe(nullptr, timings)
{}

RuvoMoveToOriginalController::~RuvoMoveToOriginalController()
{
    mCommandExe.setDelegate(nullptr);
    mCommandExe.stopProcess();
}

void RuvoMoveToOriginalController::moveFilesToOriginalLocation()
{
    reloadProxySettings();
    // The list names what is stored where: not for the shared temporary folder.
    mRunFolder = PrivateFolder::makeTemporaryFolder(QStringLiteral("moveto"));
    const QString listFile = mRunFolder ? mRunFolder->filePath(kListName) : QString();
    QSaveFile list(listFile);
    if (listFile.isEmpty() || !list.open(QIODevice::WriteOnly) || list.write(mFilesArray.join(u'\n').toUtf8()) < 0 ||
        !list.commit()) {
        mRunFolder.reset();
        return fail(kListNotWritten);
    }
    mCommandExe.setCommandString(mTXSExecutorPath);
    mCommandExe.setCommandArguments(EngineCommandLines::moveToOriginal(mUserObject, mProxyObject.proxyArgument(),
                                                                       listFile, mRunFolder->filePath(kErrorName)));
    mCommandExe.setDelegate(this);
    mCommandExe.performAsynchronousExecutionFor(TXCommandExcecuter::kPlainRun, QString());
}

QVariantMap RuvoMoveToOriginalController::resultsFromOutput(const QString &output)
{
    QVariantMap results;
    PutBackData record;
    int number = 0;
    for (const QString &line : output.split(u'\n', Qt::SkipEmptyParts)) {
        if (QLSYNCParser::ParseLineStr(line, record, kMoveOutputType) != QLSYNCParser::Parsed)
            continue;
        if (!record.op().isEmpty() && !record.fname().isEmpty())
            results.insert(record.op() + QString::number(number++), record.fname());
    }
    return results;
}

void RuvoMoveToOriginalController::ruvoTaskFinished(TXCommandExcecuter *runner)
{
    const QString output = runner->outStr();
    // The engine's per-item and run-ending errors go to its error file, some to its error stream.
    QString errors = runner->errorStr();
    if (mRunFolder) {
        QFile errorFile(mRunFolder->filePath(kErrorName));
        if (errorFile.open(QIODevice::ReadOnly))
            errors += QString::fromUtf8(errorFile.readAll());
        mRunFolder.reset();
    }
    const QVariantMap results = resultsFromOutput(output);
    errors = errors.trimmed();
    // An answer that names no item while the engine reported errors (only its
    // closing count, say) is a failure, not an empty success.
    if (!output.isEmpty() && (!results.isEmpty() || errors.isEmpty())) {
        if (mDelegateObj)
            mDelegateObj->MoveToOriginalFinishSuccessfully(this, results);
        return;
    }
    fail(errors.isEmpty() ? ControllerTexts::kNoEngineAnswer : errors);
}

void RuvoMoveToOriginalController::fail(const QString &error)
{
    if (mDelegateObj)
        mDelegateObj->MoveToOriginalDidFailWithError(error, this);
}
