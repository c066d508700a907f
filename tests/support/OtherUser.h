#pragma once

#include <QString>
#include <QStringList>

#include <sys/types.h>

// Another local user for tests of what a foreign owner can and cannot do: the
// command runs under setpriv with the "nobody" ids. Only root may change ids,
// as CI runs; elsewhere a test that needs it is skipped.
namespace OtherUser {

inline constexpr uid_t kUid = 65534;

bool available();

// Runs the program with its arguments as the other user; its exit status, or -1.
int run(const QStringList &command);

// Lets the other user pass through (not list) every folder from the root down to path.
void openPathTo(const QString &path);

}  // namespace OtherUser
