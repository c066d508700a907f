#include "engine/command/EngineSecretFiles.h"

#include "platform/PrivateFolder.h"

QString EngineSecretFiles::folder()
{
    return PrivateFolder::runtimeRoot() + QStringLiteral("/engine-credentials");
}

QString EngineSecretFiles::add(const QString &secret)
{
    const QString directory = folder();
    if (!PrivateFolder::ensure(directory))
        return {};

    // A temporary file is created with mode 0600 and removed with its object.
    auto file = std::make_unique<QTemporaryFile>(directory + QStringLiteral("/secret-XXXXXX"));
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
