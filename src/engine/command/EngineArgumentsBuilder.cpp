#include "engine/command/EngineArgumentsBuilder.h"

EngineArgumentsBuilder &EngineArgumentsBuilder::add(const QString &argument)
{
    mResult.arguments << require(argument, QStringLiteral("an argument"));
    return *this;
}

EngineArgumentsBuilder &EngineArgumentsBuilder::add(const QString &option, const QString &value)
{
    mResult.arguments << option + require(value, option);
    return *this;
}

EngineArgumentsBuilder &EngineArgumentsBuilder::passwordFile(const QString &secret)
{
    return secretFile(QStringLiteral("--password-file="), secret);
}

EngineArgumentsBuilder &EngineArgumentsBuilder::privateKey(const QString &secret)
{
    return secretFile(QStringLiteral("--pvt-key="), secret);
}

EngineArgumentsBuilder &EngineArgumentsBuilder::secretFile(const QString &option, const QString &secret)
{
    if (require(secret, option).isEmpty()) {
        mResult.arguments << option;
        return *this;
    }
    if (!mResult.secrets)
        mResult.secrets = std::make_shared<EngineSecretFiles>();
    return add(option, mResult.secrets->add(secret));
}

EngineArgumentsBuilder &EngineArgumentsBuilder::port(const QString &portArgument)
{
    return prefixed(QStringLiteral("--port="), portArgument);
}

EngineArgumentsBuilder &EngineArgumentsBuilder::proxy(const QString &proxyArgument)
{
    const QString prefix = QStringLiteral("--proxy=");
    const QString setting = proxyArgument.mid(prefix.size());
    // "user:password@host:port": everything before the last "@" (user and
    // password come percent-encoded); ":" when the proxy needs no user.
    const qsizetype at = setting.lastIndexOf(u'@');
    if (proxyArgument.startsWith(prefix) && at >= 0 && setting.left(at) != u":")
        return secretFile(QStringLiteral("--proxy-file="), setting);
    return prefixed(prefix, proxyArgument);
}

EngineArgumentsBuilder &EngineArgumentsBuilder::prefixed(const QString &prefix, const QString &argument)
{
    if (!argument.startsWith(prefix))
        require(QString(), prefix);
    mResult.arguments << argument;
    return *this;
}

EngineArgumentsBuilder &EngineArgumentsBuilder::timeLimit(TimeLimit limit)
{
    switch (limit) {
    case TimeLimit::Engine:
        return add(QStringLiteral("--timeout=900"));
    case TimeLimit::Uploader:
        return add(QStringLiteral("--timeout=120"));
    case TimeLimit::Quota:
        return add(QStringLiteral("--timeout=30"));
    }
    return *this;
}

EngineArgumentsBuilder &EngineArgumentsBuilder::remote(const QString &user, const QString &server,
                                                       const QString &homePath)
{
    mResult.arguments << require(user, QStringLiteral("the remote user")) + u'@' +
                             require(server, QStringLiteral("the storage server")) + QStringLiteral("::home") +
                             homePath;
    return *this;
}

QString EngineArgumentsBuilder::require(const QString &value, const QString &what)
{
    if (value.isEmpty() && mResult.missingValue.isEmpty())
        mResult.missingValue = what;
    return value;
}
