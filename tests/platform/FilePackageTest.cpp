#include "platform/FilePackage.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(FilePackageTest, FoldersWithAPackageExtensionArePackages)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString base = dir.path();
    for (const char *folder : {"/Mail.app/Contents", "/Notes.RTFD", "/Photos", "/Library.photoslibrary"})
        QDir().mkpath(base + folder);
    QFile(base + "/fake.app").open(QIODevice::WriteOnly);
    ASSERT_TRUE(QFile::link(base + "/Mail.app", base + "/linkToPackage"));

    const struct
    {
        QString path;
        bool isPackage;
    } cases[] = {
        {base + "/Mail.app", true},
        {base + "/Notes.RTFD", true},
        {base + "/Library.photoslibrary", true},
        {base + "/linkToPackage", true},
        {base + "/Photos", false},
        {base + "/fake.app", false},  // a file, not a folder
        {base + "/missing.app", false},
        {"", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FilePackage::isFilePackage(c.path), c.isPackage) << c.path.toStdString();
}
