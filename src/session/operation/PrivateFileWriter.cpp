#include "session/operation/PrivateFileWriter.h"

#include "session/operation/OperationFolder.h"

#include <QFile>
#include <QFileInfo>
#include <QIODevice>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

PrivateFileWriter::PrivateFileWriter(const QString &path)
    : mPath(QFile::encodeName(path))
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!QFileInfo::exists(folder) && !OperationFolder::makePrivateFolder(folder)) {
        mFailed = true;
        return;
    }
    // mkostemp makes the name unique and the file 0600.
    mTemporaryPath = QFile::encodeName(folder) + "/.write-XXXXXX";
    mFd = ::mkostemp(mTemporaryPath.data(), O_CLOEXEC);
    mFailed = mFd < 0;
    mBuffer.reserve(kBufferBytes);
}

PrivateFileWriter::~PrivateFileWriter()
{
    if (mFd >= 0) {
        ::close(mFd);
        ::unlink(mTemporaryPath.constData());
    }
}

void PrivateFileWriter::appendText(QStringView text)
{
    const qsizetype room = mEncoder.requiredSpace(text.size());
    if (mBuffer.size() + room > kBufferBytes)
        flush();
    if (room > kBufferBytes) {
        const QByteArray encoded = mEncoder.encode(text);
        appendBytes(encoded);
        return;
    }
    const qsizetype used = mBuffer.size();
    mBuffer.resize(used + room);
    char *end = mEncoder.appendToBuffer(mBuffer.data() + used, text);
    mBuffer.truncate(end - mBuffer.constData());
}

void PrivateFileWriter::appendBytes(QByteArrayView bytes)
{
    if (mBuffer.size() + bytes.size() > kBufferBytes)
        flush();
    if (bytes.size() > kBufferBytes)
        writeThrough(bytes);
    else
        mBuffer.append(bytes);
}

void PrivateFileWriter::appendRestOf(QIODevice &device)
{
    char chunk[16 * 1024];
    for (;;) {
        const qint64 n = device.read(chunk, sizeof chunk);
        if (n < 0)
            mFailed = true;
        if (n <= 0)
            return;
        appendBytes(QByteArrayView(chunk, n));
    }
}

void PrivateFileWriter::flush()
{
    writeThrough(mBuffer);
    mBuffer.resize(0);  // keeps the buffer's memory for the next bytes
}

void PrivateFileWriter::writeThrough(QByteArrayView bytes)
{
    for (qsizetype written = 0; !mFailed && written < bytes.size();) {
        const ssize_t n = ::write(mFd, bytes.data() + written, size_t(bytes.size() - written));
        if (n < 0 && errno == EINTR)
            continue;
        mFailed = n <= 0;
        written += n > 0 ? n : 0;
    }
}

bool PrivateFileWriter::commit()
{
    flush();
    if (mFd < 0)
        return false;
    const bool closed = ::close(mFd) == 0;
    mFd = -1;
    if (mFailed || !closed || std::rename(mTemporaryPath.constData(), mPath.constData()) != 0) {
        ::unlink(mTemporaryPath.constData());
        return false;
    }
    return true;
}
