#pragma once

#include <QByteArray>
#include <QString>

#include <chrono>
#include <optional>

#include <sys/types.h>

// How messages travel on a local socket: each message is one frame, a 4-byte
// big-endian length followed by that many bytes. The receiver answers a
// message with an empty frame once its handler has returned.
namespace MessageFraming {

using Clock = std::chrono::steady_clock;

inline constexpr qsizetype kHeaderBytes = 4;
// Larger messages are refused before their bytes are read.
inline constexpr quint32 kMaxMessageBytes = 1024 * 1024;

QByteArray frame(const QByteArray &body);

// The length the header at the start of the buffer announces; none while the
// header is incomplete.
std::optional<quint32> announcedLength(const QByteArray &buffer);

// Writes every byte before the deadline (the socket may be non-blocking).
bool writeAll(int fd, const QByteArray &bytes, Clock::time_point deadline, QString *error);

// Reads the empty answer frame before the deadline.
bool readAnswer(int fd, Clock::time_point deadline, QString *error);

// The effective user of the process at the other end of a connected local socket.
std::optional<uid_t> peerUser(int fd);

// "3.0 s", for reasons in the trace.
QString secondsText(std::chrono::milliseconds duration);

QString systemError();

// A write to a socket whose other end has gone must fail, not end the program.
void ignoreBrokenPipeSignal();

}  // namespace MessageFraming
