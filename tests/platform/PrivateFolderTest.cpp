#include "platform/PrivateFolder.h"
#include "support/SandboxFixture.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>

namespace {

mode_t modeOf(const QString &path)
{
    struct stat info
    {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 0777 : 0;
}

class PrivateFolderTest : public SandboxFixture
{};

TEST_F(PrivateFolderTest, WithoutASystemRuntimeFolderTheUsersOwnCacheRootHoldsAPrivateOne)
{
    qunsetenv("XDG_RUNTIME_DIR");
    const QString root = PrivateFolder::runtimeRoot();
    EXPECT_EQ(root, home() + "/.cache/txv-run");
    QString error;
    ASSERT_TRUE(PrivateFolder::ensure(root + "/engine-credentials", &error)) << qPrintable(error);
    EXPECT_EQ(modeOf(root), 0700u);
    EXPECT_EQ(modeOf(root + "/engine-credentials"), 0700u);
}

TEST_F(PrivateFolderTest, LooseFoldersAreClosedAndLinksRefused)
{
    const QString loose = PrivateFolder::runtimeRoot() + "/loose";
    QDir().mkpath(loose);
    QFile::setPermissions(loose, QFileDevice::Permissions(0x7777));
    QString error;
    EXPECT_TRUE(PrivateFolder::ensure(loose, &error)) << qPrintable(error);
    EXPECT_EQ(modeOf(loose), 0700u);

    // Someone's link in the folder's place is never followed into.
    QDir().mkpath(root() + "/elsewhere");
    const QString linked = PrivateFolder::runtimeRoot() + "/linked";
    ASSERT_TRUE(QFile::link(root() + "/elsewhere", linked));
    EXPECT_FALSE(PrivateFolder::ensure(linked, &error));
    EXPECT_TRUE(error.contains("not a folder")) << qPrintable(error);
}

}  // namespace
