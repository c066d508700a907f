#pragma once

#include <QString>

#include <functional>
#include <optional>

#include <sys/stat.h>

// Copies one file into a destination folder under a temporary name, keeping
// its mode and modification time; only commit() gives it its real name, by
// an atomic rename. A copy that is dropped, fails or is killed never leaves
// a half file under a real name.
class FileCopier
{
public:
    static constexpr qint64 kChunkBytes = 8 << 20;

    enum class Failure { None, Source, Destination, DriveFull, Cancelled };

    // Told the bytes done after each chunk; answers false to cancel.
    using ChunkCallback = std::function<bool(quint64 done)>;

    // budget: bytes the drive may still take, counted down by every copy (a
    // test hook that makes a drive full); none for no limit.
    explicit FileCopier(std::optional<quint64> *budget = nullptr);
    ~FileCopier();
    FileCopier(const FileCopier &) = delete;
    FileCopier &operator=(const FileCopier &) = delete;

    // Opens the source; its status (size, time, mode) as opened.
    bool openSource(const QString &sourcePath, struct stat *status);
    // Copies the open source into a temporary file in destinationFolder.
    bool copyTo(const QString &destinationFolder, const ChunkCallback &onChunk);
    // Gives the copy its real name, replacing what stood there.
    bool commit(const QString &finalPath);

    Failure failure() const { return mFailure; }
    int error() const { return mError; }

private:
    bool copyChunk(int destination, quint64 done, qint64 *copied);
    bool failCopy(int error);
    bool failDestination(int error);
    bool fail(Failure failure, int error);
    void discard();

    std::optional<quint64> *mBudget;
    int mSource = -1;
    struct stat mSourceStatus {};
    QString mTemporaryPath;
    bool mPlainReadWrite = false;
    Failure mFailure = Failure::None;
    int mError = 0;
};
