#include "session/blocks/ListBlockDealer.h"

#include "session/operation/OperationFolder.h"

#include <QFile>

const QString ListBlockDealer::kRestoreMarker = QStringLiteral("$$$$$$$$$$$$$$###############");

void ListBlockDealer::reset(const OperationFolder *folder, Form form, std::function<void(long)> onBlockWritten)
{
    QMutexLocker lock(&mLock);
    mFolder = folder;
    mForm = form;
    mOnBlockWritten = std::move(onBlockWritten);
    mBackupsetFileCount = 0;
    mBlocksLost = 0;
}

void ListBlockDealer::writeRestoreSetToOperationFiles(QStringList paths)
{
    const bool withMarker = !paths.isEmpty() && paths.first() == kRestoreMarker;
    if (withMarker)
        paths.removeFirst();
    deal(paths, QString(), withMarker && mForm == Form::Restore);
}

void ListBlockDealer::writeSyncSetToOperationsFiles(const QStringList &paths, const QString &parentFolder)
{
    QStringList relative;
    relative.reserve(paths.size());
    for (const QString &path : paths) {
        if (path == kRestoreMarker)
            continue;
        QString line = path;
        if (!parentFolder.isEmpty()) {
            const qsizetype at = line.indexOf(parentFolder);
            if (at >= 0)
                line.remove(at, parentFolder.size());
        }
        relative << line;
    }
    deal(relative, parentFolder, false);
}

void ListBlockDealer::deal(const QStringList &paths, const QString &parentFolder, bool withMarker)
{
    QMutexLocker lock(&mLock);
    QStringList a;
    QStringList b;
    qsizetype position = 0;
    for (const QString &path : paths) {
        ++position;
        QStringList &list = position % 2 == 1 ? b : a;
        if (withMarker && list.isEmpty())
            list << kRestoreMarker;
        list << path;
        if (a.size() >= kBlockLines)
            writeBlock(a, parentFolder);
        if (b.size() >= kBlockLines)
            writeBlock(b, parentFolder);
    }
    writeBlock(a, parentFolder);
    writeBlock(b, parentFolder);
}

void ListBlockDealer::writeBlock(QStringList &lines, const QString &parentFolder)
{
    if (lines.isEmpty() || !mFolder)
        return;
    QString contents = lines.join(u'\n');
    if (mForm == Form::Sync)
        contents = parentFolder + QStringLiteral("/\n") + contents;
    else if (mForm == Form::Restore && lines.first() != kRestoreMarker)
        contents = QStringLiteral("//\n") + contents;  // the base folder: the data root itself
    lines.clear();
    const long number = mBackupsetFileCount;
    if (!OperationFolder::writePrivateText(mFolder->blockPath(number), contents)) {
        ++mBlocksLost;
        return;
    }
    mBackupsetFileCount = number + 1;
    if (mOnBlockWritten)
        mOnBlockWritten(number);
}

std::optional<QString> ListBlockDealer::setSourceFileContents(const QString &blockPath, const QString &listPath,
                                                              Form form)
{
    std::optional<QString> block = OperationFolder::readText(blockPath);
    if (!block)
        return std::nullopt;
    QFile::remove(listPath);
    QString baseFolder;
    if (form != Form::Backup) {
        const qsizetype firstBreak = block->indexOf(u'\n');
        baseFolder = block->left(firstBreak < 0 ? block->size() : firstBreak);
        block->remove(0, firstBreak < 0 ? block->size() : firstBreak + 1);
    }
    if (!OperationFolder::writePrivateText(listPath, *block))
        return std::nullopt;
    return baseFolder;
}
