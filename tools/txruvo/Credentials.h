#pragma once

#include "txruvo/CommandLine.h"
#include "txruvo/Scenario.h"

#include <QString>

#include <optional>

// "--password-file=" and "--pvt-key=" name private files (mode 0600) that
// hold the account's password and private key, plain or engine-encoded;
// "--proxy-file=" names one that holds a proxy setting with its user and
// password (otherwise the setting comes as "--proxy="). They are checked
// against the account and proxy the scenario names; with none named, any
// readable value is accepted.
class Credentials
{
public:
    enum class Verdict
    {
        Accepted,
        PasswordMismatch,
        KeyMismatch,
        ProxyMismatch
    };

    Credentials(const CommandLine &commandLine, const Scenario &scenario);

    Verdict check();
    // The engine's error line when the check fails ("@ERROR: password
    // mismatch (...)", "encryption verification failed (...)", "@ERROR:
    // proxy authentication failed (...)"), else none.
    std::optional<QString> refusal();
    // Why the last check failed, in the engine's words.
    const QString &failure() const { return mFailure; }

private:
    bool matches(const QString &option, const std::optional<QString> &expected, const QString &what);
    bool proxyMatches();

    const CommandLine &mCommandLine;
    const Scenario &mScenario;
    QString mFailure;
};
