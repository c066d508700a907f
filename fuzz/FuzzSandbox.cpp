#include "fuzz/FuzzSandbox.h"

#include "common/context/ProgramContext.h"
#include "common/files/TXSupportFileManager.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

FuzzSandbox &FuzzSandbox::instance()
{
    static FuzzSandbox sandbox;
    return sandbox;
}

FuzzSandbox::FuzzSandbox()
{
    const QString base = mFolder.path();
    const struct
    {
        const char *name;
        const char *below;
    } roots[] = {{"HOME", "/home"},
                 {"XDG_DATA_HOME", "/home/.local/share"},
                 {"XDG_CONFIG_HOME", "/home/.config"},
                 {"XDG_CACHE_HOME", "/home/.cache"},
                 {"XDG_RUNTIME_DIR", "/runtime"},
                 {"TX_SUPPORT_ROOT", "/support"},
                 {"TX_VOLUMES_ROOT", "/volumes"}};
    for (const auto &root : roots) {
        QDir().mkpath(base + root.below);
        qputenv(root.name, (base + root.below).toUtf8());
    }
    QFile::setPermissions(base + "/runtime", QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    mContext = std::make_unique<ProgramContext>();
    TXSupportFileManager::txFileManager().setTarnixUserName(kUserName);
}

FuzzSandbox::~FuzzSandbox() = default;

bool FuzzSandbox::put(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}
