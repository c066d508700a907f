#include "txruvo/LineWriter.h"

#include "txruvo/Scenario.h"

#include <QFile>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Held lines are written once this many bytes wait.
constexpr qsizetype kHeldBytes = 64 * 1024;

// Where to cut a line in two: inside its first multi-byte UTF-8 sequence, so
// the reader must join the halves before it can decode; else in the middle.
qsizetype splitPoint(const QByteArray &line)
{
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (quint8(line.at(i)) >= 0xC0)
            return i + 1;
    }
    return line.size() / 2;
}

}  // namespace

LineWriter::LineWriter(int fd)
    : mFd(fd)
{}

LineWriter::~LineWriter()
{
    flush();
    if (mOwnsFd)
        ::close(mFd);
}

bool LineWriter::openFile(const QString &path, QString *error)
{
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) {
        *error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    mFd = fd;
    mOwnsFd = true;
    return true;
}

void LineWriter::writeLine(const QByteArray &line)
{
    if (mHold) {
        writeHeldLines(line + '\n', std::chrono::steady_clock::now());
        return;
    }
    QByteArray bytes = mLineBreakOwed ? '\n' + line : line;
    const bool holdBreak = mScenario && mScenario->omitFinalNewline;
    if (!holdBreak)
        bytes += '\n';
    mLineBreakOwed = holdBreak;
    if (mScenario && mScenario->splitWrites) {
        const qsizetype cut = splitPoint(bytes);
        writeAll(bytes.left(cut));
        QThread::msleep(ulong(mScenario->splitDelayMs));
        writeAll(bytes.mid(cut));
    } else {
        writeAll(bytes);
    }
    if (mScenario && mScenario->lineDelayMs > 0)
        QThread::msleep(ulong(mScenario->lineDelayMs));
}

void LineWriter::writeHeldLines(const QByteArray &lines, std::chrono::steady_clock::time_point firstHeldAt)
{
    if (!mHold) {
        writeAll(lines);
        return;
    }
    if (mHeld.isEmpty()) {
        mHeld.reserve(kHeldBytes + lines.size());
        mFirstHeldAt = firstHeldAt;
    }
    mFirstHeldAt = std::min(mFirstHeldAt, firstHeldAt);
    mHeld += lines;
    if (mHeld.size() >= kHeldBytes || isDue())
        flush();
}

bool LineWriter::isDue() const
{
    return !mHeld.isEmpty() && mHold && std::chrono::steady_clock::now() - mFirstHeldAt >= *mHold;
}

void LineWriter::flush()
{
    if (mHeld.isEmpty())
        return;
    writeAll(mHeld);
    mHeld.truncate(0);  // keeps its room for the next lines
}

void LineWriter::writeAll(const QByteArray &bytes)
{
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(mFd, data, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return;  // the reader is gone; nothing more can be told
        data += written;
        left -= written;
    }
}
