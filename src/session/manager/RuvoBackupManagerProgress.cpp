// The engines' progress lines turned into progress reports for the delegate
// (see ProgressAccounting) and stored files for the drive's index.

#include "session/manager/RuvoBackupManager.h"

#include "common/transfer/FileTransferData.h"
#include "engine/command/TarnixProcessLib.h"
#include "engine/parsing/QLSYNCParser.h"
#include "session/manager/BackedUpFileQueue.h"
#include "session/manager/RuvoBackupRestoreHandlerProtocol.h"

#include <QFile>

#include <sys/stat.h>

namespace {

// Shorter lines are no progress lines of the engine.
constexpr qsizetype kShortestProgressLine = 76;
constexpr int kBackupColumns = 0;
constexpr int kRestoreColumns = 7;

// The stored copy's size and time, taken as the engine reports it stored (the
// engine keeps the time): the index learns them even when the local file is
// gone before its next tick.
BackedUpFile storedFile(const ProgressReport &report, const QString &storedPath)
{
    BackedUpFile file = BackedUpFile::of(report);
    struct stat item
    {};
    if (::lstat(QFile::encodeName(storedPath).constData(), &item) == 0 &&
        (S_ISREG(item.st_mode) || S_ISLNK(item.st_mode))) {
        file.size = item.st_size;
        file.modificationTime = item.st_mtime;
    }
    return file;
}

}  // namespace

void RuvoBackupManager::updateProgress(const QString &lines, TarnixProcessLib *engine)
{
    if (lines.isEmpty() || !mIsRunning)
        return;
    EngineSlot &slot = slotOf(engine);
    // One report serves every line of the call; a field set for one line stays for the next.
    ProgressReport report;
    report.set(ProgressReport::TotalFileCount, QString::number(mFilesConsideredforOp));
    QList<ProgressReport> sent;
    // Each line is read in place: a record keeps copies of the values it needs.
    for (const QStringView line : lines.tokenize(u'\n'))
        if (line.size() >= kShortestProgressLine)
            reportLine(QString::fromRawData(line.data(), line.size()), slot, report, sent);
    // One posted call per read rather than per line: thousands of lines can come in one read.
    if (!sent.isEmpty())
        notify([this, sent](RuvoBackupRestoreHandlerProtocol &d) {
            for (const ProgressReport &each : sent)
                d.operationDidReceiveData(each, this);
        });
}

void RuvoBackupManager::reportLine(const QString &line, EngineSlot &slot, ProgressReport &report,
                                   QList<ProgressReport> &sent)
{
    FileTransferData record;
    if (QLSYNCParser::ParseLineStr(line, record, isRestore ? kRestoreColumns : kBackupColumns) != QLSYNCParser::Parsed)
        return;
    std::optional<ProgressReport> toSend =
        mProgress.readLine(record, slot.index(), report, double(mTotalBytes), slot.process->mParentFoldePath());
    // A line that names a file shows the engine is moving again.
    if (ProgressAccounting::namesAFile(record))
        slot.retryFlag = false;
    if (!toSend)
        return;
    if (!isRestore && mBackedUpFileQueue && toSend->isDone()) {
        const QString below =
            mBackupMode ? toSend->value(ProgressReport::Filename) : toSend->value(ProgressReport::RelativePath);
        mBackedUpFileQueue->addBackedUpFile(storedFile(*toSend, mDestinationPath + below));
    }
    sent << std::move(*toSend);
}
