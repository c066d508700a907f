#include "engine/controllers/RuvoVersionHistoryController.h"

#include "common/utility/QLUtility.h"
#include "engine/command/EngineCommandLines.h"
#include "engine/controllers/ControllerTexts.h"
#include "engine/controllers/RuvoVersionHistoryControllerDelegateProtocol.h"
#include "engine/parsing/QLSYNCParser.h"
#include "engine/parsing/VersionData.h"

#include <cmath>

namespace {

constexpr int kVersionOutputType = 3;

// The byte count of a size the engine wrote; a negative or unreadable one counts as 0.
quint64 byteCount(double size) { return std::isfinite(size) && size > 0 ? quint64(size) : 0; }

}  // namespace

void RuvoVersionHistoryController::setFilePath(const QString &path)
{
    if (!path.isNull())
        mServerPath = path;
}

void RuvoVersionHistoryController::setDestination(const QString &folder)
{
    if (!folder.isNull())
        mDestinationFolder = folder;
}

void RuvoVersionHistoryController::StartVersionHistory()
{
    reloadProxySettings();
    mCommandExe.setCommandString(mTXSExecutorPath);
    mCommandExe.setCommandArguments(
        EngineCommandLines::versionList(mUserObject, mProxyObject.proxyArgument(), mDestinationFolder, mServerPath));
    mCommandExe.setDelegate(this);
    mCommandExe.performAsynchronousExecutionFor(TXCommandExcecuter::kPlainRun, QString());
}

QList<FileSystemNode> RuvoVersionHistoryController::versionsFromOutput(const QString &output) const
{
    QList<FileSystemNode> versions;
    VersionData record;
    for (const QString &line : output.split(u'\n', Qt::SkipEmptyParts)) {
        if (QLSYNCParser::ParseLineStr(line, record, kVersionOutputType) != QLSYNCParser::Parsed)
            continue;
        const quint64 bytes = byteCount(record.SizeinBytes());
        FileSystemNode version(mServerPath, QLUtility::formatedFileSizeAsString(bytes), record.LMD(), /*isAFile=*/true,
                               record.version());
        version.setSizeInBytes(bytes);
        version.setMpcName(mMpcName);
        versions.append(version);
    }
    return versions;
}

void RuvoVersionHistoryController::ruvoTaskFinished(TXCommandExcecuter *runner)
{
    if (!mDelegateObj)
        return;
    const QString output = runner->outStr();
    const QString errors = runner->errorStr();
    // Versions are reported whenever the engine wrote output, whatever its error text says.
    if (!output.isEmpty())
        mDelegateObj->RuvoVersionHistoryDidFinishSuccessfully(this, versionsFromOutput(output));
    else
        mDelegateObj->RuvoVersionHistoryDidFailWithError(errors.isEmpty() ? ControllerTexts::kNoEngineAnswer : errors,
                                                         this);
}
