#pragma once

#include "txruvo/DriveBudget.h"
#include "txruvo/Posix.h"

#include <QString>

#include <functional>
#include <optional>

#include <sys/stat.h>

// Copies one file, or one link as a link (its text, never what it points
// to), to a temporary name or to an unnamed file, keeping mode and
// modification time; only commit() gives it its real name, atomically. A
// copy that is dropped, fails or is killed never leaves a half file under a
// real name, and an unnamed one leaves nothing at all.
class FileCopier
{
public:
    static constexpr qint64 kChunkBytes = 8 << 20;
    static constexpr qint64 kPlainBufferBytes = 1 << 20;  // at most, where the kernel cannot copy for us

    // A source that changes while it is copied is copied again from its
    // start, this many times in all; then the copy fails as Changed.
    static constexpr int kCopyAttempts = 3;

    enum class Failure
    {
        None,
        Source,
        Destination,
        DriveFull,
        Cancelled,
        Changed
    };

    // Told the bytes done after each chunk (counted over every attempt);
    // answers false to cancel.
    using ChunkCallback = std::function<bool(quint64 done)>;

    explicit FileCopier(DriveBudget &budget);
    ~FileCopier();
    FileCopier(const FileCopier &) = delete;
    FileCopier &operator=(const FileCopier &) = delete;

    // The access time to give the copy, in place of the source's.
    void setAccessTime(const struct timespec &time) { mAccessTime = time; }

    // Opens the source, a link not followed; its status (size, time, mode) as opened.
    bool openSource(const QString &sourcePath, struct stat *status);
    // The same for `name` in the folder open as `folderFd`.
    bool openSourceAt(int folderFd, const QByteArray &name, struct stat *status);
    // A fresh temporary path on the file system of the copy's final path.
    using TemporaryName = std::function<QString()>;

    // Copies the open source into an unnamed file in `folder` (the folder
    // of its final path), held open until commit() names it, so a run that
    // dies first leaves nothing behind; a link is only made by commit(). The
    // copy takes a temporary name only on a file system without unnamed
    // files, and when commit() replaces a file (named there, then renamed
    // over it, for the moment of one rename). Closes the source.
    bool copyInto(const Posix::FolderEntry &folder, TemporaryName temporaryName, const ChunkCallback &onChunk);
    // Gives the copy its real name, replacing what stood there.
    bool commit(const Posix::FolderEntry &final);

    // The source's status as the copy holds it: after a copy, that of the
    // content it copied (a source changed meanwhile was copied again).
    const struct stat &sourceStatus() const { return mSourceStatus; }

    Failure failure() const { return mFailure; }
    int error() const { return mError; }

private:
    // Copies the open source to temporaryPath and closes the source.
    bool copyTo(const QString &temporaryPath, const ChunkCallback &onChunk);
    // Copies the content, mode and time to the open destination; again
    // while the source changes during the copy.
    bool copyContent(int destination, const ChunkCallback &onChunk);
    // One pass over the source's bytes, counting on from `done`.
    bool copyBytes(int destination, const ChunkCallback &onChunk, quint64 *done);
    // Whether the source is still as it was when its copy began; if not,
    // takes its new status and rewinds both sides for another pass.
    bool sourceUnchanged(int destination);
    // Copies at most one chunk of the `remaining` bytes.
    bool copyChunk(int destination, quint64 remaining, qint64 *copied);
    bool readWrite(int destination, qint64 wanted, ssize_t *got);
    // Counts a link's bytes as copied; commit() makes it.
    bool reserveLink(const ChunkCallback &onChunk);
    // Puts the unnamed copy (or the link) at `entry`; errno EEXIST when something is there.
    bool makeAt(const Posix::FolderEntry &entry);
    bool commitUnnamed(const Posix::FolderEntry &final);
    bool rename(const Posix::FolderEntry &final);
    bool failCopy(int error);
    bool failDestination(int error);
    bool fail(Failure failure, int error);
    void discard();

    DriveBudget &mBudget;
    int mSource = -1;
    struct stat mSourceStatus
    {};
    std::optional<struct timespec> mAccessTime;
    std::optional<QByteArray> mLinkText;  // the source is a link with this text
    TemporaryName mTemporaryName;
    QString mTemporaryPath;
    int mUnnamed = -1;           // the copy as an unnamed file
    bool mLinkAtCommit = false;  // the link is made by commit()
    // How the kernel copies: within one file system, between two, or through a buffer here.
    enum class Method
    {
        CopyRange,
        SendFile,
        ReadWrite
    };
    Method mMethod = Method::CopyRange;
    QByteArray mBuffer;
    Failure mFailure = Failure::None;
    int mError = 0;
};
