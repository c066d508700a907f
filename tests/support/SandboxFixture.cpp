#include "support/SandboxFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
const char *const kRootVariables[] = {"HOME",
                                      "XDG_DATA_HOME",
                                      "XDG_CONFIG_HOME",
                                      "XDG_CACHE_HOME",
                                      "XDG_RUNTIME_DIR",
                                      "TX_SUPPORT_ROOT",
                                      "TX_VOLUMES_ROOT",
                                      "TX_BRAND"};
}

void SandboxFixture::SetUp()
{
    ASSERT_TRUE(mDir.isValid());
    for (const char *name : kRootVariables)
        mSaved.append({name, qgetenv(name)});
    const QString base = mDir.path();
    qputenv("HOME", (base + "/home").toUtf8());
    qputenv("XDG_DATA_HOME", (base + "/home/.local/share").toUtf8());
    qputenv("XDG_CONFIG_HOME", (base + "/home/.config").toUtf8());
    qputenv("XDG_CACHE_HOME", (base + "/home/.cache").toUtf8());
    qputenv("XDG_RUNTIME_DIR", (base + "/runtime").toUtf8());
    qputenv("TX_SUPPORT_ROOT", (base + "/support").toUtf8());
    qputenv("TX_VOLUMES_ROOT", (base + "/volumes").toUtf8());
    qunsetenv("TX_BRAND");
    for (const char *folder : {"/home", "/runtime", "/support", "/volumes"})
        QDir().mkpath(base + folder);
    QFile::setPermissions(base + "/runtime", QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    mContext = std::make_unique<ProgramContext>();
}

void SandboxFixture::TearDown()
{
    mContext.reset();
    for (const auto &[name, value] : mSaved) {
        if (value.isNull())
            qunsetenv(name.constData());
        else
            qputenv(name.constData(), value);
    }
}

void SandboxFixture::writeText(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

QByteArray SandboxFixture::readText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
