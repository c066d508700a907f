#include "index/sqlite/FMDatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

// SQLCipher and plain SQLite export the same symbols: a program that loaded
// both could open the index through the library without the key.
namespace {

QString sharedLibrariesOf(const QString &program)
{
    QProcess ldd;
    ldd.start(QStringLiteral("ldd"), {program});
    if (!ldd.waitForFinished(30000))
        return QString();
    return QString::fromLocal8Bit(ldd.readAllStandardOutput());
}

void expectNoOtherSqlite(const QString &what, const QString &libraries)
{
    EXPECT_FALSE(libraries.contains("libsqlite3.so")) << what.toStdString();
    EXPECT_FALSE(libraries.contains("libQt6Sql")) << what.toStdString();
}

TEST(LinkageTest, ProgramsThatOpenTheIndexLoadOnlySqlcipher)
{
    const QString self = QCoreApplication::applicationFilePath();
    const QString ownLibraries = sharedLibrariesOf(self);
    ASSERT_TRUE(ownLibraries.contains("libsqlcipher.so")) << ownLibraries.toStdString();
    expectNoOtherSqlite(self, ownLibraries);

    const QDir programs(qEnvironmentVariable("TX_BIN_DIR"));
    for (const QFileInfo &program : programs.entryInfoList(QDir::Files | QDir::Executable)) {
        const QString libraries = sharedLibrariesOf(program.filePath());
        if (libraries.contains("libsqlcipher.so"))
            expectNoOtherSqlite(program.filePath(), libraries);
    }

    // Nothing loads it later either.
    FMDatabase db;
    ASSERT_TRUE(db.open());
    ASSERT_TRUE(db.goodConnection());
    QFile maps(QStringLiteral("/proc/self/maps"));
    ASSERT_TRUE(maps.open(QIODevice::ReadOnly));
    EXPECT_FALSE(maps.readAll().contains("libsqlite3.so"));
}

}  // namespace
