#pragma once

#include <QMutex>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <optional>
#include <vector>

class OperationFolder;

// Deals the filtered paths of a session alternately into two lists and writes
// each list as a numbered list block in the operation folder as soon as it
// holds kBlockLines lines; what is left at the end of a batch is written too.
// Blocks are numbered from 0 in the order written. Dealing, numbering and
// writing happen under one lock, so two threads that deal at once (a restore's
// folder and file searches) never give two blocks the same number.
class ListBlockDealer
{
public:
    // How a block's lines read: absolute paths (backup mode); a base-folder
    // line, then paths below it (sync mode); a base-folder or marker line, then
    // the engine-side paths (restore).
    enum class Form
    {
        Backup,
        Sync,
        Restore
    };

    static constexpr int kBlockLines = 5000;
    // A restore list that begins with this line runs without relative paths.
    static const QString kRestoreMarker;

    // Starts a session's numbering; onBlockWritten hears each block's number, on the dealing thread.
    void reset(const OperationFolder *folder, Form form, std::function<void(long)> onBlockWritten);

    // Backup mode and restores.
    void writeRestoreSetToOperationFiles(QStringList paths);
    // Sync mode: each path below the parent folder loses it as a leading
    // prefix of whole components; "/" strips nothing.
    void writeSyncSetToOperationsFiles(const QStringList &paths, const QString &parentFolder);

    // Blocks written in this session, which is also the number of the next block.
    long blocksWritten() const { return mBackupsetFileCount; }
    // Blocks that could not be written (their paths are not backed up).
    long blocksLost() const { return mBlocksLost; }

    // Fills an engine's list file from a block; in sync mode and restores the
    // block's first line is not a path and is returned instead. None when the
    // block is missing or the list cannot be written.
    static std::optional<QString> setSourceFileContents(const QString &blockPath, const QString &listPath, Form form);

private:
    using BlockLines = std::vector<const QString *>;

    void deal(const QStringList &paths, const QString &parentFolder, bool withMarker);
    void writeBlock(BlockLines &lines, const QString &parentFolder);

    QMutex mLock;
    const OperationFolder *mFolder = nullptr;
    Form mForm = Form::Backup;
    std::function<void(long)> mOnBlockWritten;
    std::atomic<long> mBackupsetFileCount{0};
    std::atomic<long> mBlocksLost{0};
};
