#pragma once

#include "engine/command/EngineArguments.h"

// Builds one engine argument vector in the engine's own language: one
// argument per option, a value after "=" in the same argument, never quoted.
// A value that is absent or empty is not left out silently: the built
// vector then names it as missing and is not started.
class EngineArgs
{
public:
    // "--timeout=900" (delete, version list, version restore, session restore),
    // "--timeout=120" (session uploader), "--timeout=30" (quota).
    enum class TimeLimit { Engine, Uploader, Quota };

    // An argument as it stands: an option without a value, the executable or a local folder.
    EngineArgs &add(const QString &argument);
    // An option with its value: add("--portable-dest=", path).
    EngineArgs &add(const QString &option, const QString &value);
    // "--password-file=" and "--pvt-key=" with the path of a private file holding the secret.
    EngineArgs &passwordFile(const QString &secret);
    EngineArgs &privateKey(const QString &secret);
    // The account's port argument ("--port=443") and the proxy argument (at
    // least "--proxy="), passed as they come.
    EngineArgs &port(const QString &portArgument);
    EngineArgs &proxy(const QString &proxyArgument);
    EngineArgs &timeLimit(TimeLimit limit);
    // "user@server::home" followed by the path under the account's home.
    EngineArgs &remote(const QString &user, const QString &server, const QString &homePath);

    // Marks the vector incomplete when the value is absent or empty; returns the value.
    QString require(const QString &value, const QString &what);

    EngineArguments build() const { return mResult; }

private:
    EngineArgs &secretFile(const QString &option, const QString &secret);
    EngineArgs &prefixed(const QString &prefix, const QString &argument);

    EngineArguments mResult;
};
