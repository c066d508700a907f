#include "engine/command/EngineSecretFiles.h"

#include "platform/PathRoots.h"

#include <QDir>

namespace {

constexpr QFileDevice::Permissions kOwnerOnlyFolder =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;

}  // namespace

QString EngineSecretFiles::folder()
{
    return PathRoots::userRuntimeRoot() + QStringLiteral("/engine-credentials");
}

QString EngineSecretFiles::add(const QString &secret)
{
    const QString directory = folder();
    if (!QDir().mkpath(directory) || !QFile::setPermissions(directory, kOwnerOnlyFolder))
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
