#include "session/blocks/ListBlockDealer.h"

#include "session/operation/OperationFolder.h"
#include "session/operation/PrivateFileWriter.h"

#include <QFile>

#include <algorithm>

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
    // Read without detaching: the caller's list is shared, not copied, unless a marker must go.
    const bool withMarker = !paths.isEmpty() && paths.constFirst() == kRestoreMarker;
    if (withMarker)
        paths.removeFirst();
    deal(paths, QString(), withMarker && mForm == Form::Restore);
}

void ListBlockDealer::writeSyncSetToOperationsFiles(const QStringList &paths, const QString &parentFolder)
{
    // "/" is the root every path hangs from already: it strips nothing.
    const QString parent = parentFolder == QLatin1String("/") ? QString() : parentFolder;
    QStringList relative;
    relative.reserve(paths.size());
    for (const QString &path : paths) {
        if (path == kRestoreMarker)
            continue;
        const bool below = !parent.isEmpty() && path.size() > parent.size() && path.startsWith(parent) &&
                           path.at(parent.size()) == u'/';
        relative << (below ? path.mid(parent.size()) : path);
    }
    deal(relative, parent, false);
}

void ListBlockDealer::deal(const QStringList &paths, const QString &parentFolder, bool withMarker)
{
    QMutexLocker lock(&mLock);
    // The lists hold the paths by address: the paths outlive them, and a block
    // is written straight from them.
    BlockLines a;
    BlockLines b;
    a.reserve(std::min<qsizetype>(kBlockLines, paths.size() / 2 + 1));
    b.reserve(std::min<qsizetype>(kBlockLines, paths.size() / 2 + 1));
    qsizetype position = 0;
    for (const QString &path : paths) {
        ++position;
        BlockLines &list = position % 2 == 1 ? b : a;
        if (withMarker && list.empty())
            list.push_back(&kRestoreMarker);
        list.push_back(&path);
        if (a.size() >= kBlockLines)
            writeBlock(a, parentFolder);
        if (b.size() >= kBlockLines)
            writeBlock(b, parentFolder);
    }
    writeBlock(a, parentFolder);
    writeBlock(b, parentFolder);
}

void ListBlockDealer::writeBlock(BlockLines &lines, const QString &parentFolder)
{
    if (lines.empty() || !mFolder)
        return;
    const long number = mBackupsetFileCount;
    PrivateFileWriter file(mFolder->blockPath(number));
    if (mForm == Form::Sync) {
        file.appendText(parentFolder);
        file.appendText(u"/\n");
    } else if (mForm == Form::Restore && *lines.front() != kRestoreMarker) {
        file.appendText(u"//\n");  // the base folder: the data root itself
    }
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            file.appendText(u"\n");
        file.appendText(*lines[i]);
    }
    lines.clear();
    if (!file.commit()) {
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
    QFile block(blockPath);
    if (!block.open(QIODevice::ReadOnly))
        return std::nullopt;
    // In backup mode the list is the block itself: a second name for it will do.
    if (form == Form::Backup && OperationFolder::replaceWithLink(blockPath, listPath))
        return QString();
    // Otherwise copied as bytes: the block is UTF-8 already, and only its first line needs reading.
    QFile::remove(listPath);
    QString baseFolder;
    if (form != Form::Backup) {
        QByteArray firstLine = block.readLine();
        if (firstLine.endsWith('\n'))
            firstLine.chop(1);
        baseFolder = QString::fromUtf8(firstLine);
    }
    PrivateFileWriter list(listPath);
    list.appendRestOf(block);
    if (!list.commit())
        return std::nullopt;
    return baseFolder;
}
