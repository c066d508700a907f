#pragma once

#include <QString>

#include <optional>

#include <sys/un.h>

// The registry of named message endpoints: one local socket per name in a
// folder of the user's runtime root that only this user may enter (0700).
// Another user can neither list, reach nor replace the endpoints.
namespace MessageEndpoints {

// <runtime root>/txv-msg
QString folder();

// The socket path of a name, after making sure the folder exists, is a real
// folder of this user and has mode 0700. None, with the reason, when the name
// is not a plain file name, the path does not fit a socket address or the
// folder cannot be trusted.
std::optional<QString> socketPath(const QString &name, QString *error);

// The file whose lock a listener holds while it serves the name; a socket
// file nobody holds the lock for was left by a program that ended.
QString lockPath(const QString &socketPath);

// The socket address of a path checked by socketPath.
sockaddr_un socketAddress(const QString &socketPath);

}  // namespace MessageEndpoints
