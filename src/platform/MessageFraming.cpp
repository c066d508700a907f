#include "platform/MessageFraming.h"

#include <QtEndian>

#include <cerrno>
#include <cstring>

#include <csignal>

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace MessageFraming {
namespace {

// Waits until the socket is ready for the events; false at the deadline.
bool waitUntilReady(int fd, short events, Clock::time_point deadline)
{
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            return false;
        pollfd entry{fd, events, 0};
        const int ready = ::poll(&entry, 1, int(left.count()));
        if (ready > 0)
            return true;
        if (ready < 0 && errno != EINTR)
            return false;
    }
}

bool readExactly(int fd, char *data, qsizetype size, Clock::time_point deadline, QString *error)
{
    qsizetype done = 0;
    while (done < size) {
        const ssize_t count = ::recv(fd, data + done, size_t(size - done), MSG_DONTWAIT);
        if (count > 0) {
            done += count;
            continue;
        }
        if (count == 0) {
            *error = QStringLiteral("the other side closed the connection");
            return false;
        }
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK) {
            *error = systemError();
            return false;
        }
        if (!waitUntilReady(fd, POLLIN, deadline)) {
            *error = QStringLiteral("no answer in time");
            return false;
        }
    }
    return true;
}

}  // namespace

QByteArray frame(const QByteArray &body)
{
    QByteArray bytes(kHeaderBytes, Qt::Uninitialized);
    qToBigEndian(quint32(body.size()), bytes.data());
    return bytes + body;
}

std::optional<quint32> announcedLength(const QByteArray &buffer)
{
    if (buffer.size() < kHeaderBytes)
        return std::nullopt;
    return qFromBigEndian<quint32>(buffer.constData());
}

bool writeAll(int fd, const QByteArray &bytes, Clock::time_point deadline, QString *error)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t count =
            ::send(fd, bytes.constData() + done, size_t(bytes.size() - done), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (count >= 0) {
            done += count;
            continue;
        }
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK) {
            *error = systemError();
            return false;
        }
        if (!waitUntilReady(fd, POLLOUT, deadline)) {
            *error = QStringLiteral("the message could not be delivered in time");
            return false;
        }
    }
    return true;
}

bool readAnswer(int fd, Clock::time_point deadline, QString *error)
{
    char header[kHeaderBytes];
    if (!readExactly(fd, header, kHeaderBytes, deadline, error))
        return false;
    if (qFromBigEndian<quint32>(header) != 0) {
        *error = QStringLiteral("the other side gave an unexpected answer");
        return false;
    }
    return true;
}

std::optional<uid_t> peerUser(int fd)
{
    ucred credentials{};
    socklen_t size = sizeof(credentials);
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0 || size != sizeof(credentials))
        return std::nullopt;
    return credentials.uid;
}

QString secondsText(std::chrono::milliseconds duration)
{
    return QStringLiteral("%1 s").arg(double(duration.count()) / 1000.0, 0, 'f', 1);
}

QString systemError() { return QString::fromLocal8Bit(std::strerror(errno)); }

void ignoreBrokenPipeSignal() { std::signal(SIGPIPE, SIG_IGN); }

}  // namespace MessageFraming
