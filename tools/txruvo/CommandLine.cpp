#include "txruvo/CommandLine.h"

std::optional<RemoteSpec> RemoteSpec::parse(const QString &text)
{
    const qsizetype marker = text.indexOf(QLatin1String("::home"));
    if (marker < 0)
        return std::nullopt;
    const QString account = text.left(marker);
    const qsizetype at = account.lastIndexOf('@');
    RemoteSpec spec;
    spec.user = at < 0 ? account : account.left(at);
    spec.server = at < 0 ? QString() : account.mid(at + 1);
    spec.path = foldSlashes(text.mid(marker + 6));
    return spec;
}

CommandLine::CommandLine(const QStringList &arguments)
    : mArguments(arguments)
{
    for (const QString &argument : arguments) {
        if (!argument.startsWith(QLatin1String("--"))) {
            mPositionals << argument;
            continue;
        }
        const qsizetype equals = argument.indexOf('=');
        if (equals < 0)
            mOptions.insert(argument, QString());
        else
            mOptions.insert(argument.left(equals), argument.mid(equals + 1));
    }
}

QString foldSlashes(const QString &path)
{
    QString folded;
    folded.reserve(path.size());
    for (const QChar c : path) {
        if (c != '/' || !folded.endsWith('/'))
            folded += c;
    }
    return folded.isEmpty() ? QStringLiteral("/") : folded;
}

QString folderPath(const QString &path)
{
    QString folded = foldSlashes(path);
    if (folded.size() > 1 && folded.endsWith('/'))
        folded.chop(1);
    return folded;
}

QString joinPath(const QString &head, const QString &tail)
{
    QString left = head;
    while (left.endsWith('/'))
        left.chop(1);
    qsizetype skip = 0;
    while (skip < tail.size() && tail.at(skip) == '/')
        ++skip;
    return left + '/' + tail.mid(skip);
}
