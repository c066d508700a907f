#include "platform/LocalMessageConnection.h"

#include "platform/MessageEndpoints.h"
#include "platform/MessageFraming.h"

#include <cerrno>
#include <thread>

#include <sys/socket.h>
#include <unistd.h>

using MessageFraming::Clock;

namespace {

// A listener's full backlog makes a non-blocking connect fail at once; it is
// tried again until the deadline.
constexpr std::chrono::milliseconds kBusyListenerRetry{5};

bool connectBefore(int fd, const QString &socketPath, Clock::time_point deadline, QString *error)
{
    const sockaddr_un address = MessageEndpoints::socketAddress(socketPath);
    for (;;) {
        if (::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof(address)) == 0)
            return true;
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN || Clock::now() >= deadline) {
            *error = errno == EAGAIN ? QStringLiteral("the listener is busy") : MessageFraming::systemError();
            return false;
        }
        std::this_thread::sleep_for(kBusyListenerRetry);
    }
}

}  // namespace

std::unique_ptr<LocalMessageConnection>
LocalMessageConnection::open(const QString &name, std::chrono::milliseconds requestTimeout, QString *error)
{
    const std::optional<QString> socketPath = MessageEndpoints::socketPath(name, error);
    if (!socketPath)
        return nullptr;
    UniqueFd socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    QString reason;
    if (!socket.isValid() || !connectBefore(socket.get(), *socketPath, Clock::now() + requestTimeout, &reason)) {
        *error =
            QStringLiteral("cannot reach %1: %2").arg(name, socket.isValid() ? reason : MessageFraming::systemError());
        return nullptr;
    }
    // Messages may carry commands; only a listener of this same user gets them.
    const std::optional<uid_t> user = MessageFraming::peerUser(socket.get());
    if (user != ::geteuid()) {
        *error = QStringLiteral("the listener of %1 belongs to another user").arg(name);
        return nullptr;
    }
    return std::unique_ptr<LocalMessageConnection>(new LocalMessageConnection(std::move(socket)));
}

bool LocalMessageConnection::call(const QByteArray &message, std::chrono::milliseconds requestTimeout,
                                  std::chrono::milliseconds replyTimeout, QString *error)
{
    if (quint64(message.size()) > MessageFraming::kMaxMessageBytes) {
        *error = QStringLiteral("a message of %1 bytes is over the limit of %2 bytes")
                     .arg(message.size())
                     .arg(MessageFraming::kMaxMessageBytes);
        return false;
    }
    return MessageFraming::writeAll(mSocket.get(), MessageFraming::frame(message), Clock::now() + requestTimeout,
                                    error) &&
           MessageFraming::readAnswer(mSocket.get(), Clock::now() + replyTimeout, error);
}
