#include "engine/command/EngineSecretFiles.h"

#include "platform/PrivateFolder.h"
#include "platform/ProcessTable.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <mutex>
#include <optional>

namespace {

const QString kFilePrefix = QStringLiteral("secret-");

// The id of the process that wrote a file; none for a name without one.
std::optional<qint64> writerOf(const QString &name)
{
    static const QRegularExpression form(QStringLiteral("^secret-(\\d+)-"));
    const QRegularExpressionMatch match = form.match(name);
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(1).toLongLong();
}

}  // namespace

QString EngineSecretFiles::folder() { return PrivateFolder::runtimeRoot() + QStringLiteral("/engine-credentials"); }

void EngineSecretFiles::removeLeftovers()
{
    const QDir directory(folder());
    for (const QString &name : directory.entryList({kFilePrefix + QLatin1Char('*')}, QDir::Files | QDir::Hidden)) {
        const std::optional<qint64> writer = writerOf(name);
        if (!writer || !ProcessTable::process(*writer))
            QFile::remove(directory.filePath(name));
    }
}

QString EngineSecretFiles::add(const QString &secret)
{
    const QString directory = folder();
    if (!PrivateFolder::ensure(directory))
        return {};
    // Once per process on purpose: the files that dead processes left behind
    // are cleared at the first secret written, not before every one.
    static std::once_flag leftoversRemoved;
    std::call_once(leftoversRemoved, removeLeftovers);

    // A temporary file is created with mode 0600 and removed with its object.
    auto file = std::make_unique<QTemporaryFile>(
        QStringLiteral("%1/%2%3-XXXXXX").arg(directory, kFilePrefix).arg(QCoreApplication::applicationPid()));
    if (!file->open())
        return {};
    const QByteArray bytes = secret.toUtf8();
    const bool written = file->write(bytes) == bytes.size() && file->flush();
    file->close();
    if (!written)
        return {};
    const QString path = file->fileName();
    mFiles.push_back(std::move(file));
    return path;
}
