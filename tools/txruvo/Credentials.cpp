#include "txruvo/Credentials.h"

#include "txruvo/EngineEncoding.h"
#include "txruvo/PrivateFile.h"

Credentials::Credentials(const CommandLine &commandLine, const Scenario &scenario)
    : mCommandLine(commandLine)
    , mScenario(scenario)
{}

Credentials::Verdict Credentials::check()
{
    if (!matches(QStringLiteral("--password-file"), mScenario.password, QStringLiteral("password")))
        return Verdict::PasswordMismatch;
    if (!matches(QStringLiteral("--pvt-key"), mScenario.privateKey, QStringLiteral("private key")))
        return Verdict::KeyMismatch;
    if (!proxyMatches())
        return Verdict::ProxyMismatch;
    return Verdict::Accepted;
}

std::optional<QString> Credentials::refusal()
{
    switch (check()) {
    case Verdict::Accepted:
        break;
    case Verdict::PasswordMismatch:
        return QStringLiteral("@ERROR: password mismatch (%1)").arg(mFailure);
    case Verdict::KeyMismatch:
        return QStringLiteral("encryption verification failed (%1)").arg(mFailure);
    case Verdict::ProxyMismatch:
        return QStringLiteral("@ERROR: proxy authentication failed (%1)").arg(mFailure);
    }
    return std::nullopt;
}

bool Credentials::matches(const QString &option, const std::optional<QString> &expected, const QString &what)
{
    if (!mCommandLine.has(option))
        return !expected.has_value();
    const QString path = mCommandLine.value(option);
    QString error;
    const std::optional<QString> value = PrivateFile::read(path, &error);
    if (!value) {
        mFailure = QStringLiteral("%1 file %2: %3").arg(what, path, error);
        return false;
    }
    if (!expected || *value == *expected || EngineEncoding::decode(*value) == *expected)
        return true;
    mFailure = QStringLiteral("%1 does not match the account").arg(what);
    return false;
}

bool Credentials::proxyMatches()
{
    const QString fileOption = QStringLiteral("--proxy-file");
    if (mCommandLine.has(fileOption))
        return matches(fileOption, mScenario.proxy, QStringLiteral("proxy setting"));
    const QString setting = mCommandLine.value(QStringLiteral("--proxy"));
    if (!mScenario.proxy || setting == *mScenario.proxy)
        return true;
    mFailure = QStringLiteral("proxy setting does not match the account");
    return false;
}
