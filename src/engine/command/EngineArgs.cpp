#include "engine/command/EngineArgs.h"

EngineArgs &EngineArgs::add(const QString &argument)
{
    mResult.arguments << require(argument, QStringLiteral("an argument"));
    return *this;
}

EngineArgs &EngineArgs::add(const QString &option, const QString &value)
{
    mResult.arguments << option + require(value, option);
    return *this;
}

EngineArgs &EngineArgs::passwordFile(const QString &secret)
{
    return secretFile(QStringLiteral("--password-file="), secret);
}

EngineArgs &EngineArgs::privateKey(const QString &secret)
{
    return secretFile(QStringLiteral("--pvt-key="), secret);
}

EngineArgs &EngineArgs::secretFile(const QString &option, const QString &secret)
{
    if (require(secret, option).isEmpty()) {
        mResult.arguments << option;
        return *this;
    }
    if (!mResult.secrets)
        mResult.secrets = std::make_shared<EngineSecretFiles>();
    return add(option, mResult.secrets->add(secret));
}

EngineArgs &EngineArgs::port(const QString &portArgument)
{
    return prefixed(QStringLiteral("--port="), portArgument);
}

EngineArgs &EngineArgs::proxy(const QString &proxyArgument)
{
    return prefixed(QStringLiteral("--proxy="), proxyArgument);
}

EngineArgs &EngineArgs::prefixed(const QString &prefix, const QString &argument)
{
    if (!argument.startsWith(prefix))
        require(QString(), prefix);
    mResult.arguments << argument;
    return *this;
}

EngineArgs &EngineArgs::timeLimit(TimeLimit limit)
{
    switch (limit) {
    case TimeLimit::Engine: return add(QStringLiteral("--timeout=900"));
    case TimeLimit::Uploader: return add(QStringLiteral("--timeout=120"));
    case TimeLimit::Quota: return add(QStringLiteral("--timeout=30"));
    }
    return *this;
}

EngineArgs &EngineArgs::remote(const QString &user, const QString &server, const QString &homePath)
{
    mResult.arguments << require(user, QStringLiteral("the remote user")) + u'@' +
                             require(server, QStringLiteral("the storage server")) + QStringLiteral("::home") + homePath;
    return *this;
}

QString EngineArgs::require(const QString &value, const QString &what)
{
    if (value.isEmpty() && mResult.missingValue.isEmpty())
        mResult.missingValue = what;
    return value;
}
