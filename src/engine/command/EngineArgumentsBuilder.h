#pragma once

#include "engine/command/EngineArguments.h"

// Builds one engine argument vector in the engine's own language: one
// argument per option, a value after "=" in the same argument, never quoted.
// A value that is absent or empty is not left out silently: the built
// vector then names it as missing and is not started.
class EngineArgumentsBuilder
{
public:
    // "--timeout=900" (delete, version list, version restore, session restore),
    // "--timeout=120" (session uploader), "--timeout=30" (quota).
    enum class TimeLimit
    {
        Engine,
        Uploader,
        Quota
    };

    // An argument as it stands: an option without a value, the executable or a local folder.
    EngineArgumentsBuilder &add(const QString &argument);
    // An option with its value: add("--portable-dest=", path).
    EngineArgumentsBuilder &add(const QString &option, const QString &value);
    // "--password-file=" and "--pvt-key=" with the path of a private file holding the secret.
    EngineArgumentsBuilder &passwordFile(const QString &secret);
    EngineArgumentsBuilder &privateKey(const QString &secret);
    // The account's port argument ("--port=443") and the proxy argument (at
    // least "--proxy="), passed as they come; except that a proxy setting
    // with a user and password goes as "--proxy-file=" and the path of a
    // private file holding it, since a command line is open to every user.
    EngineArgumentsBuilder &port(const QString &portArgument);
    EngineArgumentsBuilder &proxy(const QString &proxyArgument);
    EngineArgumentsBuilder &timeLimit(TimeLimit limit);
    // "user@server::home" followed by the path under the account's home.
    EngineArgumentsBuilder &remote(const QString &user, const QString &server, const QString &homePath);

    // Marks the vector incomplete when the value is absent or empty; returns the value.
    QString require(const QString &value, const QString &what);

    EngineArguments build() const { return mResult; }

private:
    EngineArgumentsBuilder &secretFile(const QString &option, const QString &secret);
    EngineArgumentsBuilder &prefixed(const QString &prefix, const QString &argument);

    EngineArguments mResult;
};
