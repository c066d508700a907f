#include "platform/LocalMessageListener.h"

#include "platform/MessageEndpoints.h"

#include <QFile>

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>

using MessageFraming::Clock;
using MessageFraming::systemError;

namespace {

constexpr int kBacklog = 16;
constexpr qsizetype kReadChunk = 64 * 1024;
constexpr std::chrono::milliseconds kAcceptRetryPause{100};
// Answers are 4 bytes each: a peer with this many waiting reads none of them.
constexpr qsizetype kMaxUnreadAnswerBytes = 64 * 1024;
// Trace lines let through per window; the rest are counted and reported once.
constexpr int kLogLinesPerWindow = 20;
constexpr std::chrono::seconds kLogWindow{10};

// The lock is held for the listener's life and released by the system when
// its program ends, however it ends.
UniqueFd takeNameLock(const QString &socketPath, const QString &name, QString *error)
{
    const QByteArray lockFile = QFile::encodeName(MessageEndpoints::lockPath(socketPath));
    UniqueFd lock(::open(lockFile.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!lock.isValid()) {
        *error = QStringLiteral("cannot open the lock of %1: %2").arg(name, systemError());
        return {};
    }
    if (::flock(lock.get(), LOCK_EX | LOCK_NB) != 0) {
        *error = errno == EWOULDBLOCK ? QStringLiteral("the name %1 is served by a running program").arg(name)
                                      : QStringLiteral("cannot lock the name %1: %2").arg(name, systemError());
        return {};
    }
    return lock;
}

// With the name's lock held, a socket file still there is stale.
bool removeStaleSocket(const QString &socketPath, QString *error)
{
    const QByteArray native = QFile::encodeName(socketPath);
    struct stat info
    {};
    if (::lstat(native.constData(), &info) != 0) {
        if (errno == ENOENT)
            return true;
        *error = QStringLiteral("cannot inspect %1: %2").arg(socketPath, systemError());
        return false;
    }
    if (!S_ISSOCK(info.st_mode)) {
        *error = QStringLiteral("%1 is in the way and is not a socket").arg(socketPath);
        return false;
    }
    if (::unlink(native.constData()) != 0) {
        *error = QStringLiteral("cannot remove the stale socket %1: %2").arg(socketPath, systemError());
        return false;
    }
    return true;
}

UniqueFd bindSocket(const QString &socketPath, QString *error)
{
    UniqueFd socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    const sockaddr_un address = MessageEndpoints::socketAddress(socketPath);
    if (!socket.isValid() || ::bind(socket.get(), reinterpret_cast<const sockaddr *>(&address), sizeof(address)) != 0 ||
        ::chmod(QFile::encodeName(socketPath).constData(), 0600) != 0 || ::listen(socket.get(), kBacklog) != 0) {
        *error = QStringLiteral("cannot listen on %1: %2").arg(socketPath, systemError());
        return {};
    }
    return socket;
}

}  // namespace

std::unique_ptr<LocalMessageListener> LocalMessageListener::listen(const QString &name, const Settings &settings,
                                                                   Handlers handlers, QString *error)
{
    const std::optional<QString> socketPath = MessageEndpoints::socketPath(name, error);
    if (!socketPath)
        return nullptr;
    UniqueFd lock = takeNameLock(*socketPath, name, error);
    if (!lock.isValid() || !removeStaleSocket(*socketPath, error))
        return nullptr;
    UniqueFd socket = bindSocket(*socketPath, error);
    if (!socket.isValid())
        return nullptr;
    UniqueFd wake(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
    if (!wake.isValid()) {
        *error = QStringLiteral("cannot make the listener's wake-up: %1").arg(systemError());
        ::unlink(QFile::encodeName(*socketPath).constData());
        return nullptr;
    }
    return std::unique_ptr<LocalMessageListener>(new LocalMessageListener(
        *socketPath, settings, std::move(handlers), std::move(lock), std::move(socket), std::move(wake)));
}

LocalMessageListener::LocalMessageListener(QString socketPath, const Settings &settings, Handlers handlers,
                                           UniqueFd lock, UniqueFd socket, UniqueFd wake)
    : mSocketPath(std::move(socketPath))
    , mSettings(settings)
    , mHandlers(std::move(handlers))
    , mLog(mHandlers.log)
    , mLock(std::move(lock))
    , mSocket(std::move(socket))
    , mWake(std::move(wake))
    , mThread([this] { run(); })
{}

LocalMessageListener::~LocalMessageListener()
{
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(mWake.get(), &one, sizeof(one));
    mThread.join();
    // Withdrawn before the lock goes, so the next listener finds no stale file.
    ::unlink(QFile::encodeName(mSocketPath).constData());
}

void LocalMessageListener::run()
{
    for (;;) {
        std::vector<pollfd> entries{{mWake.get(), POLLIN, 0}, {mSocket.get(), POLLIN, 0}};
        for (const Peer &peer : mPeers)
            entries.push_back({peer.fd.get(), short(POLLIN | (peer.outgoing.isEmpty() ? 0 : POLLOUT)), 0});
        if (::poll(entries.data(), entries.size(), pollTimeout()) < 0 && errno != EINTR) {
            mLog(QStringLiteral("stopped listening: %1").arg(systemError()));
            return;
        }
        if (entries[0].revents != 0)
            return;
        // Peers served in this round are those polled; new ones wait for the next.
        for (size_t i = 0; i < mPeers.size(); ++i) {
            Peer &peer = mPeers[i];
            const short events = entries[i + 2].revents;
            const bool keep =
                ((events & POLLOUT) == 0 || flushAnswers(peer)) && ((events & ~POLLOUT) == 0 || readFrom(peer));
            if (!keep)
                peer.fd.reset();
        }
        closeLatePeers();
        std::erase_if(mPeers, [](const Peer &peer) { return !peer.fd.isValid(); });
        if (entries[1].revents != 0)
            acceptPeers();
    }
}

// A message begun must be completed by its deadline; a silent peer goes after the idle time.
std::optional<Clock::time_point> LocalMessageListener::nextDeadline(const Peer &peer,
                                                                    std::chrono::milliseconds idleTimeout)
{
    if (peer.deadline)
        return peer.deadline;
    return peer.lastActivity + idleTimeout;
}

int LocalMessageListener::pollTimeout() const
{
    std::optional<Clock::time_point> nearest;
    for (const Peer &peer : mPeers) {
        const auto deadline = nextDeadline(peer, mSettings.idleTimeout);
        if (deadline && (!nearest || *deadline < *nearest))
            nearest = deadline;
    }
    if (!nearest)
        return -1;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(*nearest - Clock::now());
    return int(std::max<qint64>(left.count(), 0));
}

void LocalMessageListener::acceptPeers()
{
    for (;;) {
        UniqueFd fd(::accept4(mSocket.get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
        if (!fd.isValid()) {
            if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR && errno != ECONNABORTED) {
                // Out of descriptors, say: the waiting connection would wake the loop at once again.
                mLog(QStringLiteral("cannot take a connection: %1").arg(systemError()));
                std::this_thread::sleep_for(kAcceptRetryPause);
            }
            return;
        }
        const std::optional<uid_t> user = MessageFraming::peerUser(fd.get());
        if (user != mSettings.acceptedUser) {
            mLog(user ? QStringLiteral("refused a connection from user %1").arg(*user)
                      : QStringLiteral("refused a connection whose user is unknown"));
            continue;
        }
        if (mPeers.size() >= mSettings.maxPeers)
            makeRoomForOnePeer();
        if (mPeers.size() >= mSettings.maxPeers) {
            mLog(QStringLiteral("refused a connection: %1 are open and none is idle").arg(mPeers.size()));
            continue;
        }
        mPeers.push_back({std::move(fd), {}, {}, std::nullopt, Clock::now()});
    }
}

bool LocalMessageListener::readFrom(Peer &peer)
{
    char chunk[kReadChunk];
    for (;;) {
        const ssize_t count = ::recv(peer.fd.get(), chunk, sizeof(chunk), MSG_DONTWAIT);
        if (count > 0) {
            peer.lastActivity = Clock::now();
            if (!peer.deadline)
                peer.deadline = Clock::now() + mSettings.requestTimeout;
            peer.pending.append(chunk, count);
            if (!deliverCompleteMessages(peer))
                return false;
            continue;
        }
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return true;
        if (!peer.pending.isEmpty())
            mLog(QStringLiteral("a connection closed in the middle of a message"));
        return false;
    }
}

bool LocalMessageListener::deliverCompleteMessages(Peer &peer)
{
    while (const std::optional<quint32> length = MessageFraming::announcedLength(peer.pending)) {
        if (*length > MessageFraming::kMaxMessageBytes) {
            mLog(QStringLiteral("refused a message of %1 bytes (the limit is %2 bytes)")
                     .arg(*length)
                     .arg(MessageFraming::kMaxMessageBytes));
            return false;
        }
        if (peer.pending.size() < MessageFraming::kHeaderBytes + qsizetype(*length))
            return true;
        const QByteArray message = peer.pending.mid(MessageFraming::kHeaderBytes, *length);
        peer.pending.remove(0, MessageFraming::kHeaderBytes + *length);
        peer.deadline = peer.pending.isEmpty() ? std::nullopt : std::optional(Clock::now() + mSettings.requestTimeout);
        const QString refusal = mHandlers.receive(message);
        if (!refusal.isEmpty()) {
            mLog(QStringLiteral("refused a message: %1").arg(refusal));
            return false;
        }
        peer.outgoing.append(MessageFraming::frame({}));
        if (peer.outgoing.size() > kMaxUnreadAnswerBytes) {
            mLog(QStringLiteral("closed a connection that does not read its answers"));
            return false;
        }
        if (!flushAnswers(peer))
            return false;
    }
    return true;
}

// Writes what the socket takes now; the rest waits until the peer reads.
bool LocalMessageListener::flushAnswers(Peer &peer)
{
    while (!peer.outgoing.isEmpty()) {
        const ssize_t count =
            ::send(peer.fd.get(), peer.outgoing.constData(), size_t(peer.outgoing.size()), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (count > 0) {
            peer.outgoing.remove(0, count);
            continue;
        }
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return true;
        mLog(QStringLiteral("could not answer a message: %1").arg(systemError()));
        return false;
    }
    return true;
}

// The peer silent the longest goes, when one is silent at all.
void LocalMessageListener::makeRoomForOnePeer()
{
    auto idlest = mPeers.end();
    for (auto it = mPeers.begin(); it != mPeers.end(); ++it) {
        if (it->pending.isEmpty() && it->outgoing.isEmpty() &&
            (idlest == mPeers.end() || it->lastActivity < idlest->lastActivity))
            idlest = it;
    }
    if (idlest == mPeers.end())
        return;
    mLog(QStringLiteral("closed the connection idle longest: %1 are open").arg(mPeers.size()));
    mPeers.erase(idlest);
}

void LocalMessageListener::closeLatePeers()
{
    const Clock::time_point now = Clock::now();
    for (Peer &peer : mPeers) {
        if (!peer.fd.isValid())
            continue;
        if (peer.deadline && *peer.deadline <= now) {
            mLog(QStringLiteral("closed a connection whose message was not complete within %1")
                     .arg(MessageFraming::secondsText(mSettings.requestTimeout)));
            peer.fd.reset();
        } else if (!peer.deadline && peer.lastActivity + mSettings.idleTimeout <= now) {
            peer.fd.reset();  // a sender connects again when it next has something to say
        }
    }
}

void LocalMessageListener::ThrottledLog::operator()(const QString &line)
{
    const Clock::time_point now = Clock::now();
    if (now - mWindowStart >= kLogWindow) {
        if (mSuppressed > 0)
            mLog(QStringLiteral("%1 more refusals were not traced").arg(mSuppressed));
        mWindowStart = now;
        mLinesInWindow = 0;
        mSuppressed = 0;
    }
    if (++mLinesInWindow <= kLogLinesPerWindow)
        mLog(line);
    else
        ++mSuppressed;
}
