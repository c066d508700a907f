#include "txruvo/EncodeOperation.h"

#include "txruvo/EngineEncoding.h"
#include "txruvo/PrivateFile.h"

#include <QFile>

#include <cstdio>

namespace {

const QByteArray kTextKey = "--string-encode=";
const QByteArray kOutKey = "\n--out-file=";

int fail(const QString &message)
{
    std::fprintf(stderr, "txruvo error: %s\n", qPrintable(message));
    return 1;
}

}  // namespace

EncodeOperation::EncodeOperation(QString commandFilePath)
    : mCommandFilePath(std::move(commandFilePath))
{}

int EncodeOperation::run()
{
    QFile commandFile(mCommandFilePath);
    if (!commandFile.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot read command file %1: %2").arg(mCommandFilePath, commandFile.errorString()));
    const QByteArray command = commandFile.readAll();
    // The text may itself hold line breaks, so the out-file line is the last one.
    const qsizetype outKey = command.lastIndexOf(kOutKey);
    if (!command.startsWith(kTextKey) || outKey < 0)
        return fail(QStringLiteral("malformed command file %1").arg(mCommandFilePath));
    const QString text = QString::fromUtf8(command.mid(kTextKey.size(), outKey - kTextKey.size()));
    QString outPath = QString::fromUtf8(command.mid(outKey + kOutKey.size()));
    while (outPath.endsWith('\n') || outPath.endsWith('\r'))
        outPath.chop(1);
    if (outPath.isEmpty())
        return fail(QStringLiteral("no out-file in command file %1").arg(mCommandFilePath));
    QString error;
    if (!PrivateFile::write(outPath, EngineEncoding::encode(text).toUtf8(), &error))
        return fail(QStringLiteral("cannot write %1: %2").arg(outPath, error));
    return 0;
}
