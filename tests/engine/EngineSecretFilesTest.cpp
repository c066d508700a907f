#include "engine/command/EngineSecretFiles.h"
#include "support/SandboxFixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

class EngineSecretFilesTest : public SandboxFixture
{};

TEST_F(EngineSecretFilesTest, FilesLeftByAProcessThatNoLongerRunsAreRemovedOthersStay)
{
    EngineSecretFiles files;
    const QString own = files.add("pw");
    ASSERT_FALSE(own.isEmpty());
    EXPECT_TRUE(QFileInfo(own).fileName().startsWith(QString("secret-%1-").arg(QCoreApplication::applicationPid())));

    // No process has the first id; the second name is of the earlier form, without one.
    const QDir folder(EngineSecretFiles::folder());
    for (const QString &name : {QString("secret-2147483000-AbCdEf"), QString("secret-AbCdEf")})
        writeText(folder.filePath(name), "a password left by a killed client");
    EngineSecretFiles::removeLeftovers();
    EXPECT_EQ(folder.entryList(QDir::Files), QStringList{QFileInfo(own).fileName()});
    EXPECT_EQ(readText(own), "pw");
}
