#include "common/context/ProgramContext.h"
#include "common/texts/QLLocalizedString.h"
#include "common/texts/TextTable.h"
#include "common/utility/QLUtility.h"
#include "platform/PrivateFolder.h"
#include "support/SandboxFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

class FileTestsTest : public SandboxFixture
{
protected:
    void SetUp() override
    {
        SandboxFixture::SetUp();
        mSavedTemporaryRoot = qgetenv("TMPDIR");
        qputenv("TMPDIR", temporary().toUtf8());
        QDir().mkpath(temporary());
        mSavedCurrentFolder = QDir::currentPath();
    }

    void TearDown() override
    {
        QDir::setCurrent(mSavedCurrentFolder);
        if (mSavedTemporaryRoot.isNull())
            qunsetenv("TMPDIR");
        else
            qputenv("TMPDIR", mSavedTemporaryRoot);
        SandboxFixture::TearDown();
    }

    QString temporary() const { return root() + "/tmp"; }
    // The application's own folder in a temporary folder.
    static QString ownFolderIn(const QString &temporaryFolder)
    {
        return temporaryFolder + QString("/tarnixvidezud-%1").arg(::geteuid());
    }
    QString dataFolder() const { return home() + "/.local/share/TarnixVidezud"; }
    QString outside() const { return root() + "/outside"; }

    static bool isThere(const QString &path) { return QFileInfo(path).exists() || QFileInfo(path).isSymLink(); }

private:
    QByteArray mSavedTemporaryRoot;
    QString mSavedCurrentFolder;
};

TEST_F(FileTestsTest, ExistenceFolderAndPackageTests)
{
    writeText(root() + "/file.txt", "x");
    QDir().mkpath(root() + "/plain");
    QDir().mkpath(root() + "/Mail.app/Contents");
    ASSERT_TRUE(QFile::link(root() + "/file.txt", root() + "/linkToFile"));
    ASSERT_TRUE(QFile::link(root() + "/plain", root() + "/linkToFolder"));
    ASSERT_TRUE(QFile::link(root() + "/missing", root() + "/danglingLink"));

    const struct
    {
        QString path;
        bool exists;
        bool isDirectory;
        bool isMacDirectory;
    } cases[] = {
        {root() + "/file.txt", true, false, true},     {root() + "/plain", true, true, false},
        {root() + "/Mail.app", true, true, true},      {root() + "/linkToFile", true, false, true},
        {root() + "/linkToFolder", true, true, false}, {root() + "/danglingLink", false, false, false},
        {root() + "/missing", false, false, false},    {"", false, false, false},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(QLUtility::isFileExists(c.path), c.exists) << c.path.toStdString();
        EXPECT_EQ(QLUtility::isDirectory(c.path), c.isDirectory) << c.path.toStdString();
        EXPECT_EQ(QLUtility::isMacDirectory(c.path), c.isMacDirectory) << c.path.toStdString();
    }
}

TEST_F(FileTestsTest, KeyStringContainment)
{
    EXPECT_TRUE(QLUtility::isStringContainsKeyString("error in file write", "file write"));
    EXPECT_FALSE(QLUtility::isStringContainsKeyString("error in file write", "File Write"));
    EXPECT_FALSE(QLUtility::isStringContainsKeyString("error", ""));
    EXPECT_FALSE(QLUtility::isStringContainsKeyString(QString(), "error"));
    EXPECT_FALSE(QLUtility::isStringContainsKeyString("error", QString()));
}

TEST_F(FileTestsTest, RemovesItemsInsideTheApplicationsFoldersAndTheDrivesDataFolder)
{
    const QString items[] = {
        dataFolder() + "/ann/Operation",  // a folder with contents
        support() + "/TarnixVidezud/ReIndexingStatus.plist",
        volumes() + "/Drive/TarnixVidezud/ann/Office/.index",
        ownFolderIn(temporary()) + "/reindex-1234",
    };
    ASSERT_TRUE(PrivateFolder::ensure(ownFolderIn(temporary())));
    for (const QString &item : items)
        writeText(item + "/inner/file.txt", "x");

    for (const QString &item : items) {
        QLUtility::removeFile(item);
        EXPECT_FALSE(isThere(item)) << item.toStdString();
    }
    EXPECT_TRUE(isThere(dataFolder() + "/ann"));
    QLUtility::removeFile(dataFolder() + "/ann/missing");  // nothing there, nothing reported
}

TEST_F(FileTestsTest, RefusesPathsThatCouldDeleteMoreThanAsked)
{
    writeText(outside() + "/keep.txt", "x");
    writeText(dataFolder() + "/ann/keep.txt", "x");
    writeText(volumes() + "/Drive/Photos/keep.jpg", "x");
    writeText(volumes() + "/Drive/TarnixVidezud/ann/keep", "x");
    QDir().mkpath(volumes() + "/Drive/QuellonVidezud");  // the other brand's data folder
    ASSERT_TRUE(QFile::link(outside(), dataFolder() + "/ann/linkedFolder"));
    QDir::setCurrent(outside());

    const QString refused[] = {
        "",
        "/",
        ".",
        "..",
        "outside",  // relative
        outside(),
        outside() + "/keep.txt",
        root(),
        home(),
        dataFolder(),                                  // the application's folder itself
        dataFolder() + "/ann/../../../../../outside",  // climbs out
        dataFolder() + "/ann/linkedFolder/keep.txt",   // leaves through a link
        volumes() + "/Drive",
        volumes() + "/Drive/Photos",
        volumes() + "/Drive/TarnixVidezud",
        volumes() + "/Drive/QuellonVidezud/../Photos",
    };
    for (const QString &path : refused) {
        QLUtility::removeFile(path);
        QLUtility::removeFolder(path);
    }
    EXPECT_TRUE(isThere(outside() + "/keep.txt"));
    EXPECT_TRUE(isThere(dataFolder() + "/ann/keep.txt"));
    EXPECT_TRUE(isThere(volumes() + "/Drive/Photos/keep.jpg"));
    EXPECT_TRUE(isThere(volumes() + "/Drive/TarnixVidezud/ann/keep"));
    EXPECT_TRUE(isThere(dataFolder() + "/ann/linkedFolder"));
}

TEST_F(FileTestsTest, InTheTemporaryFolderOnlyTheApplicationsOwnFolderIsRemovable)
{
    ASSERT_TRUE(PrivateFolder::ensure(ownFolderIn(temporary())));
    ASSERT_TRUE(PrivateFolder::ensure(ownFolderIn(home())));
    const QString linkedTemporary = root() + "/linkedTmp";
    QDir().mkpath(linkedTemporary);
    QDir().mkpath(outside());
    ASSERT_TRUE(QFile::link(outside(), ownFolderIn(linkedTemporary)));

    const struct
    {
        QString temporaryFolder;  // TMPDIR
        QString item;
        bool removed;
    } cases[] = {
        {temporary(), ownFolderIn(temporary()) + "/reindex-1", true},
        {temporary(), ownFolderIn(temporary()) + "/txencode-1/.outFile", true},
        {temporary(), temporary() + "/other-program", false},
        {temporary(), temporary() + "/Delete1234", false},
        {temporary(), ownFolderIn(temporary()) + "0/cache", false},  // a look-alike beside it
        {temporary(), ownFolderIn(temporary()) + "/../other-program", false},
        {home(), home() + "/Documents", false},  // TMPDIR=$HOME
        {home(), ownFolderIn(home()) + "/reindex-1", true},
        {linkedTemporary, ownFolderIn(linkedTemporary) + "/keep.txt", false},  // a link in its place
    };
    for (const auto &c : cases) {
        qputenv("TMPDIR", c.temporaryFolder.toUtf8());
        writeText(c.item + "/inner/file.txt", "x");
        writeText(outside() + "/keep.txt/inner/file.txt", "x");

        QLUtility::removeFile(c.item);
        EXPECT_EQ(!isThere(c.item), c.removed) << c.item.toStdString();
        EXPECT_TRUE(isThere(outside() + "/keep.txt/inner/file.txt")) << c.item.toStdString();
    }
    EXPECT_TRUE(isThere(home()));
}

TEST_F(FileTestsTest, RemovesLinksNotWhatTheyPointTo)
{
    writeText(outside() + "/keep.txt", "x");
    QDir().mkpath(dataFolder() + "/ann/Operation");
    ASSERT_TRUE(QFile::link(outside(), dataFolder() + "/ann/linkToOutside"));
    ASSERT_TRUE(QFile::link(outside(), dataFolder() + "/ann/Operation/linkInside"));
    ASSERT_TRUE(QFile::link(outside() + "/gone", dataFolder() + "/ann/dangling"));

    QLUtility::removeFile(dataFolder() + "/ann/linkToOutside");
    QLUtility::removeFile(dataFolder() + "/ann/Operation");
    QLUtility::removeFile(dataFolder() + "/ann/dangling");

    EXPECT_FALSE(isThere(dataFolder() + "/ann/linkToOutside"));
    EXPECT_FALSE(isThere(dataFolder() + "/ann/Operation"));
    EXPECT_FALSE(isThere(dataFolder() + "/ann/dangling"));
    EXPECT_TRUE(isThere(outside() + "/keep.txt"));
}

TEST_F(FileTestsTest, TheDrivesDataFolderFollowsTheBrand)
{
    qputenv("TX_BRAND", "Quellon");
    ProgramContext::current().texts().reload();
    writeText(volumes() + "/Drive/QuellonVidezud/ann/file", "x");
    writeText(volumes() + "/Drive/TarnixVidezud/ann/file", "x");

    QLUtility::removeFile(volumes() + "/Drive/QuellonVidezud/ann");
    QLUtility::removeFile(volumes() + "/Drive/TarnixVidezud/ann");

    EXPECT_FALSE(isThere(volumes() + "/Drive/QuellonVidezud/ann"));
    EXPECT_TRUE(isThere(volumes() + "/Drive/TarnixVidezud/ann/file"));
}
