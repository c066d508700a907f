#pragma once

#include <cstddef>
#include <memory>

// Reads one open folder's entries in bulk, straight from the kernel: each read
// fills a buffer of about a thousand entries, and every entry carries the type
// recorded in the folder itself, so listing a folder costs no call per entry.
// "." and ".." are passed over. The folder's descriptor stays the caller's.
class FolderEntryReader
{
public:
    enum class Kind
    {
        Folder,
        File,
        Link,
        Other,
        Unknown
    };  // Unknown: the file system records no type

    struct Entry
    {
        const char *name = nullptr;  // valid until the next call of next()
        Kind kind = Kind::Unknown;
    };

    explicit FolderEntryReader(int folderFd);

    // The next entry; false at the end of the folder or on a failed read (see error()).
    bool next(Entry &entry);
    // The errno of a failed read, 0 when the folder was read to its end.
    int error() const { return mError; }

private:
    bool refill();

    static constexpr std::size_t kBufferBytes = 64 * 1024;

    int mFolderFd;
    std::unique_ptr<char[]> mBuffer;
    long mFilled = 0;
    long mOffset = 0;
    int mError = 0;
};
