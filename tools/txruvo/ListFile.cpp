#include "txruvo/ListFile.h"

#include "txruvo/Posix.h"

#include <QUtf8StringView>

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
    struct stat status {};
    QByteArray content(::fstat(fd, &status) == 0 ? qsizetype(status.st_size) + 1 : 4096, Qt::Uninitialized);
    qsizetype size = 0;
    ssize_t got = 0;
    while ((got = ::read(fd, content.data() + size, size_t(content.size() - size))) > 0 || (got < 0 && errno == EINTR)) {
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
    const std::optional<QByteArray> whole = readWhole(path);
    if (!whole) {
        *error = Posix::errorText(errno);
        return std::nullopt;
    }
    const QByteArray &content = *whole;
    const bool allValid = QUtf8StringView(content).isValidUtf8();
    ListFile list;
    list.mText = QString::fromUtf8(content);
    list.mEntries.reserve(content.count('\n') + 1);
    // The bytes (to check each line's UTF-8 when some are bad) and the text
    // are cut at the same line breaks: a replaced sequence never takes a
    // line break with it.
    qsizetype byteStart = 0;
    qsizetype textStart = 0;
    while (textStart < list.mText.size()) {
        qsizetype byteEnd = content.indexOf('\n', byteStart);
        qsizetype textEnd = list.mText.indexOf(u'\n', textStart);
        if (textEnd < 0) {
            byteEnd = content.size();
            textEnd = list.mText.size();
        }
        if (textEnd > textStart) {
            const bool valid = allValid || QUtf8StringView(content.constData() + byteStart, byteEnd - byteStart).isValidUtf8();
            list.mEntries.append(
                ListEntry{QString::fromRawData(list.mText.constData() + textStart, textEnd - textStart), valid});
        }
        byteStart = byteEnd + 1;
        textStart = textEnd + 1;
    }
    return list;
}
