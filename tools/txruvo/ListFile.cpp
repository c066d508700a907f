#include "txruvo/ListFile.h"

#include "txruvo/Posix.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The whole file in one read where it can (a list is read by every run,
// whose start should cost little).
std::optional<QByteArray> readWhole(const QString &path)
{
    const int fd = ::open(Posix::native(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat status
    {};
    QByteArray content(::fstat(fd, &status) == 0 ? qsizetype(status.st_size) + 1 : 4096, Qt::Uninitialized);
    qsizetype size = 0;
    ssize_t got = 0;
    while ((got = ::read(fd, content.data() + size, size_t(content.size() - size))) > 0 ||
           (got < 0 && errno == EINTR)) {
        size += std::max<ssize_t>(got, 0);
        if (size == content.size())
            content.resize(content.size() * 2);  // it grew meanwhile
    }
    const int error = errno;
    ::close(fd);
    if (got < 0) {
        errno = error;
        return std::nullopt;
    }
    content.truncate(size);
    return content;
}

}  // namespace

std::optional<ListFile> ListFile::read(const QString &path, QString *error)
{
    std::optional<QByteArray> whole = readWhole(path);
    if (!whole) {
        *error = Posix::errorText(errno);
        return std::nullopt;
    }
    ListFile list;
    // Moving the content keeps its bytes where they are, and so the views valid.
    list.mContent = std::move(*whole);
    const QByteArray &content = list.mContent;
    list.mEntries.reserve(content.count('\n') + 1);
    qsizetype start = 0;
    while (start < content.size()) {
        qsizetype end = content.indexOf('\n', start);
        if (end < 0)
            end = content.size();
        if (end > start)
            list.mEntries.append(ListEntry{QByteArrayView(content.constData() + start, end - start)});
        start = end + 1;
    }
    return list;
}
