#include "session/enumeration/FolderEntryReader.h"

#include <cerrno>
#include <cstdint>
#include <dirent.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

// The record getdents64 fills the buffer with; the C library declares none.
struct KernelEntry
{
    std::uint64_t inode;
    std::int64_t nextOffset;
    unsigned short length;
    unsigned char type;
    char name[1];
};

FolderEntryReader::Kind kindOf(unsigned char type)
{
    switch (type) {
    case DT_DIR:
        return FolderEntryReader::Kind::Folder;
    case DT_REG:
        return FolderEntryReader::Kind::File;
    case DT_LNK:
        return FolderEntryReader::Kind::Link;
    case DT_UNKNOWN:
        return FolderEntryReader::Kind::Unknown;
    default:
        return FolderEntryReader::Kind::Other;
    }
}

bool isDotOrDotDot(const char *name)
{
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

}  // namespace

FolderEntryReader::FolderEntryReader(int folderFd)
    : mFolderFd(folderFd)
    , mBuffer(new char[kBufferBytes])
{}

bool FolderEntryReader::next(Entry &entry)
{
    for (;;) {
        if (mOffset >= mFilled && !refill())
            return false;
        const auto *record = reinterpret_cast<const KernelEntry *>(mBuffer.get() + mOffset);
        mOffset += record->length;
        if (isDotOrDotDot(record->name))
            continue;
        entry = {record->name, kindOf(record->type)};
        return true;
    }
}

bool FolderEntryReader::refill()
{
    long read = 0;
    do
        read = ::syscall(SYS_getdents64, mFolderFd, mBuffer.get(), kBufferBytes);
    while (read < 0 && errno == EINTR);
    if (read < 0)
        mError = errno;
    mFilled = read > 0 ? read : 0;
    mOffset = 0;
    return read > 0;
}
