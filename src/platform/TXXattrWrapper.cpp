#include "platform/TXXattrWrapper.h"

#include <QDebug>
#include <QFile>

#include <cerrno>
#include <sys/types.h>
#include <sys/xattr.h>

namespace TXXattrWrapper {

namespace {

const QByteArray kUserNamespace = QByteArrayLiteral("user.");
// A value that changes size between the size query and the read is asked again, a few times.
constexpr int kAttempts = 4;

// Reads a variable-size answer: first its size, then into a buffer of that size.
template <class Call>
QByteArray readSized(Call call)
{
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const ssize_t size = call(nullptr, 0);
        if (size < 0)
            return {};
        QByteArray buffer(qsizetype(size), Qt::Uninitialized);
        const ssize_t read = call(buffer.data(), buffer.size());
        if (read >= 0) {
            buffer.truncate(read);
            // An empty value is a value, not a failure.
            return buffer.isNull() ? QByteArray("") : buffer;
        }
        if (errno != ERANGE)
            return {};
    }
    return {};
}

}  // namespace

QStringList allKeysAtPath(const QString &path, bool traverseLink)
{
    const QByteArray native = QFile::encodeName(path);
    const QByteArray list = readSized([&](char *buffer, size_t size) {
        return traverseLink ? ::listxattr(native.constData(), buffer, size)
                            : ::llistxattr(native.constData(), buffer, size);
    });
    QStringList names;
    // Each name ends with a NUL byte.
    for (const QByteArray &name : list.split('\0')) {
        if (name.startsWith(kUserNamespace))
            names << QString::fromUtf8(name);
    }
    return names;
}

QByteArray dataForKey(const QString &name, const QString &path, bool traverseLink)
{
    const QByteArray native = QFile::encodeName(path);
    const QByteArray key = name.toUtf8();
    return readSized([&](char *buffer, size_t size) {
        return traverseLink ? ::getxattr(native.constData(), key.constData(), buffer, size)
                            : ::lgetxattr(native.constData(), key.constData(), buffer, size);
    });
}

bool setData(const QByteArray &data, const QString &name, const QString &path, bool traverseLink)
{
    const QByteArray native = QFile::encodeName(path);
    const QByteArray key = name.toUtf8();
    const int result = traverseLink
                           ? ::setxattr(native.constData(), key.constData(), data.constData(), size_t(data.size()), 0)
                           : ::lsetxattr(native.constData(), key.constData(), data.constData(), size_t(data.size()), 0);
    return result == 0;
}

Attributes allXattributes(const QString &path, bool traverseLink)
{
    Attributes attributes;
    for (const QString &name : allKeysAtPath(path, traverseLink)) {
        const QByteArray value = dataForKey(name, path, traverseLink);
        // A listed attribute whose value cannot be read is left out.
        if (!value.isNull())
            attributes.insert(name, value);
    }
    return attributes;
}

void setAllXattributes(const Attributes &attributes, const QString &path, bool traverseLink)
{
    for (auto it = attributes.cbegin(); it != attributes.cend(); ++it) {
        // Only the user namespace is stored, so only it is put back: a list read off a
        // drive must not set the system's own attributes (capabilities, trusted ones).
        if (!it.key().toUtf8().startsWith(kUserNamespace)) {
            qWarning().noquote() << "extended attribute" << it.key() << "left off" << path
                                 << ": only user attributes are put back";
            continue;
        }
        setData(it.value(), it.key(), path, traverseLink);
    }
}

}  // namespace TXXattrWrapper
