#pragma once

#include <QString>

// A test that needs a folder or file its user cannot read calls this first.
// Run as root (CI runs as root, and root reads everything), it runs the same
// test again in a child process as the unprivileged user "nobody" (setpriv),
// reports the child's failures as its own and returns true: the caller then
// returns at once. Run as any other user it returns false and the test runs
// in this process.
bool rerunAsAnotherUser();

// A test that mounts a file system calls this first. It runs the same test
// again in a child process inside a user and mount namespace of its own
// (unshare), where it may mount, and returns Parent: the caller returns at
// once. In that child it returns Child: the test runs there. Where the
// machine allows no such namespace it returns CannotMount: the caller skips,
// saying so.
enum class MountNamespace
{
    Parent,
    Child,
    CannotMount
};
MountNamespace rerunInMountNamespace();
