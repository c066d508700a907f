#include "common/utility/QLUtility.h"
#include "platform/ErrorSlot.h"

#include "common/texts/QLLocalizedString.h"
#include "platform/PrivateFolder.h"
#include "platform/PropertyList.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtDebug>

namespace {

// The port text as the user typed it, when it holds a usable port.
std::optional<quint16> portFromText(const QByteArray &text)
{
    bool isNumber = false;
    const uint port = QString::fromUtf8(text).trimmed().toUInt(&isNumber);
    if (!isNumber || port < 1 || port > 65535)
        return std::nullopt;
    return quint16(port);
}

bool writePrivateFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::NewOnly, PropertyList::kOwnerReadWrite) &&
           file.write(content) == content.size() && file.flush();
}

// Runs the engine on the command file; null when it ran and exited cleanly,
// else the reason.
QString runEngine(const QString &commandFile, std::chrono::milliseconds timeout)
{
    const QString program = QLLocalizedString(QStringLiteral("ExecuterPathRuvo"));
    // Never a program looked up by name in $PATH.
    if (!QFileInfo(program).isAbsolute())
        return QStringLiteral("no engine path is configured");
    QProcess engine;
    engine.setProgram(program);
    engine.setArguments({QStringLiteral("--utf8-cmd=") + commandFile});
    engine.setStandardInputFile(QProcess::nullDevice());
    engine.setStandardOutputFile(QProcess::nullDevice());
    engine.setStandardErrorFile(QProcess::nullDevice());
    engine.start();
    if (!engine.waitForStarted(int(timeout.count())))
        return QStringLiteral("the engine %1 could not be started: %2").arg(engine.program(), engine.errorString());
    if (!engine.waitForFinished(int(timeout.count()))) {
        engine.kill();
        engine.waitForFinished(-1);
        return QStringLiteral("the engine did not finish within %1 ms").arg(timeout.count());
    }
    if (engine.exitStatus() != QProcess::NormalExit || engine.exitCode() != 0)
        return QStringLiteral("the engine failed (exit code %1)").arg(engine.exitCode());
    return {};
}

}  // namespace

QString QLUtility::portParam()
{
    const QString path = QLLocalizedString(QStringLiteral("PortFilePath"));
    quint16 port = kDefaultPort;
    QFile file(path);
    if (file.exists()) {
        const auto configured = file.open(QIODevice::ReadOnly) ? portFromText(file.readAll()) : std::nullopt;
        if (configured)
            port = *configured;
        else
            qWarning().noquote() << "No port from 1 to 65535 in" << path << "- using" << kDefaultPort;
    }
    return QStringLiteral("--port=%1").arg(port);
}

std::optional<QString> QLUtility::encodeString(const QString &text, QString *error, std::chrono::milliseconds timeout)
{
    if (text.isEmpty()) {
        ErrorSlot::fill(error, QStringLiteral("there is no text to encode"));
        return std::nullopt;
    }
    // Each line of the command file is one engine option.
    if (text.contains('\n') || text.contains('\r')) {
        ErrorSlot::fill(error, QStringLiteral("a text with a line break cannot be encoded"));
        return std::nullopt;
    }
    // A folder only this user can enter; it goes, with both files, on return.
    const std::unique_ptr<QTemporaryDir> exchange = PrivateFolder::makeTemporaryFolder(QStringLiteral("txencode"));
    if (!exchange) {
        ErrorSlot::fill(error,
                        QStringLiteral("no private folder for the exchange in ") + PrivateFolder::temporaryFolder());
        return std::nullopt;
    }
    const QString commandFile = exchange->filePath(QStringLiteral(".cmdFile"));
    const QString outputFile = exchange->filePath(QStringLiteral(".outFile"));
    const QString command = QStringLiteral("--string-encode=%1\n--out-file=%2").arg(text, outputFile);
    if (!writePrivateFile(commandFile, command.toUtf8())) {
        ErrorSlot::fill(error, QStringLiteral("the command file could not be written"));
        return std::nullopt;
    }
    const QString failure = runEngine(commandFile, timeout);
    if (!failure.isNull()) {
        ErrorSlot::fill(error, failure);
        return std::nullopt;
    }
    QFile output(outputFile);
    QString encoded = output.open(QIODevice::ReadOnly) ? QString::fromUtf8(output.readAll()) : QString();
    while (encoded.endsWith('\n') || encoded.endsWith('\r'))
        encoded.chop(1);
    if (encoded.trimmed().isEmpty()) {
        ErrorSlot::fill(error, QStringLiteral("the engine wrote no encoded text"));
        return std::nullopt;
    }
    return encoded;
}
