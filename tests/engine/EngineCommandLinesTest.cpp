#include "engine/command/EngineCommandLines.h"
#include "common/account/User.h"
#include "engine/command/EngineArgumentsBuilder.h"
#include "support/SandboxFixture.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

using namespace EngineCommandLines;

namespace {

User testAccount(bool defaultKey)
{
    User account;
    account.setUserName("TestUser");
    account.setRuvoServerIP("S");
    account.setPassword("pw");
    account.setPrivateKey("key");
    account.setMEncodedPassword("encpw");
    account.setMEncodedKey("enckey");
    account.setPort("--port=443");
    account.setISDefaultKey(defaultKey);
    return account;
}

// The permission bits of a file, as the system sees them.
mode_t modeOf(const QString &path)
{
    struct stat info
    {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 0;
}

const QString kNoProxy = "--proxy=";
const QString kProxy = "--proxy=:@10.0.0.9:8080";

// The vector with each credential file replaced by "{its text}", after checking
// that the file is private to the user.
QStringList readable(const EngineArguments &built)
{
    QStringList shown;
    for (const QString &argument : built.arguments) {
        const qsizetype equals = argument.indexOf(u'=');
        const QString option = argument.left(equals + 1);
        if (option != "--password-file=" && option != "--pvt-key=" && option != "--proxy-file=") {
            shown << argument;
            continue;
        }
        QFile file(argument.mid(equals + 1));
        EXPECT_EQ(QFileInfo(file).absolutePath(), EngineSecretFiles::folder());
        EXPECT_EQ(modeOf(file.fileName()), 0600u);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        shown << option + u'{' + QString::fromUtf8(file.readAll()) + u'}';
    }
    return shown;
}

class EngineCommandLinesTest : public SandboxFixture
{};

TEST_F(EngineCommandLinesTest, GoldenVectorsOfEveryOperation)
{
    const User ownKey = testAccount(false);
    const User defaultKey = testAccount(true);
    const SyncAccount sync{"SyncUser", "S2", "syncpw"};
    const VersionRestoreFiles restore{
        "/op/ErrorA", "/op",         "/op/out.txt",     "/op/err.txt", "/v/d/TarnixVidezud/u/mac",
        "/op/cancel", "/op/SourceA", "/home/u/Restored"};
    const struct
    {
        const char *name;
        EngineArguments built;
        QStringList expected;
    } cases[] = {
        {"quota",
         quota(ownKey, kNoProxy, false),
         {"--get-quota", "--timeout=30", "--port=443", "--password-file={pw}", "--pvt-key={key}", "--xml-output",
          "--proxy=", "testuser@S::home/"}},
        {"quota from file",
         quota(ownKey, kProxy, true),
         {"--quota-fromfile", "--timeout=30", "--port=443", "--password-file={pw}", "--pvt-key={key}", "--xml-output",
          kProxy, "testuser@S::home/"}},
        {"upload test",
         bandwidthTest(defaultKey, true),
         {"--xml-output", "--trf-uprate", "--password-file={pw}", "--pvt-key={key}", "TestUser@S::home/"}},
        {"download test",
         bandwidthTest(defaultKey, false),
         {"--xml-output", "--pvt-key={key}", "--password-file={pw}", "--trf-downrate", "TestUser@S::home/"}},
        {"version list, default key",
         versionList(defaultKey, kNoProxy, "/v/d/TarnixVidezud/u/mac", "/12/enc"),
         {"--version-info", "--no-relative", "--encode", "--enc-opt", "--mask-name", "--portable",
          "--portable-dest=/v/d/TarnixVidezud/u/mac", "--timeout=900", "--proxy=", "--xml-output", "--port=443",
          "--password-file={encpw}", "testuser@S::home/12/enc"}},
        {"version list, own key",
         versionList(ownKey, kNoProxy, "/v/d/TarnixVidezud/u/mac", "/12/enc"),
         {"--version-info", "--no-relative", "--encode", "--enc-opt", "--mask-name", "--portable",
          "--portable-dest=/v/d/TarnixVidezud/u/mac", "--timeout=900", "--proxy=", "--xml-output", "--port=443",
          "--pvt-key={enckey}", "--password-file={encpw}", "testuser@S::home/v/d/TarnixVidezud/u/mac/12/enc"}},
        {"delete, backup mode",
         deleteItems(defaultKey, kProxy, "/v/d/TarnixVidezud/u", "mac", "/tmp/Delete1", {}),
         {"--delete-items", "--timeout=900", "--xml-output", "--encode", "--enc-opt", "--mask-name", "--portable",
          "--portable-dest=/v/d/TarnixVidezud/u", kProxy, "--port=443", "--password-file={encpw}", "--pvt-key={enckey}",
          "--files-from=/tmp/Delete1", "testuser@S::home//v/d/TarnixVidezud/u/mac"}},
        {"delete, sync mode",
         deleteItems(defaultKey, kNoProxy, "/v/d/TarnixVidezud/s", "", "/tmp/Delete2", sync),
         {"--delete-items", "--timeout=900", "--xml-output", "--encode", "--enc-opt", "--mask-name", "--portable",
          "--portable-dest=/v/d/TarnixVidezud/s", "--proxy=", "--port=443", "--password-file={syncpw}",
          "--pvt-key={enckey}", "--files-from=/tmp/Delete2", "syncuser@S2::home/v/d/TarnixVidezud/s/"}},
        {"move to original, default key",
         moveToOriginal(defaultKey, kNoProxy, "/t/MoveFiles.txt", "/t/errorM.txt"),
         {"--moveto-original", "--no-relative", "--timeout=900", "--xml-output", "--proxy=", "--port=443",
          "--e=/t/errorM.txt", "--password-file={pw}", "--files-from=/t/MoveFiles.txt", "TestUser@S::home/"}},
        {"move to original, own key",
         moveToOriginal(ownKey, kProxy, "/t/MoveFiles.txt", "/t/errorM.txt"),
         {"--moveto-original", "--no-relative", "--timeout=900", "--xml-output", kProxy, "--port=443",
          "--e=/t/errorM.txt", "--files-from=/t/MoveFiles.txt", "--pvt-key={key}", "--password-file={pw}",
          "TestUser@S::home/"}},
        {"version restore",
         versionRestore("/bin/txruvo", defaultKey, kNoProxy, restore),
         {"/bin/txruvo",
          "--no-relative",
          "--add-progress",
          "--xml-output",
          "--encode",
          "--enc-opt",
          "--mask-name",
          "--errlog-from=/op/ErrorA",
          "--temp=/op",
          "--port=443",
          "--timeout=900",
          "--proxy=",
          "--password-file={encpw}",
          "--pvt-key={enckey}",
          "--o=/op/out.txt",
          "--e=/op/err.txt",
          "--portable",
          "--portable-dest=/v/d/TarnixVidezud/u/mac",
          "--chk-cancel=/op/cancel",
          "--files-from=/op/SourceA",
          "testuser@S::home//v/d/TarnixVidezud/u/mac/",
          "/home/u/Restored"}},
        {"index rebuild",
         indexRebuild("/bin/txruvo", "/v/d/TarnixVidezud/u", "/t/out", "/t/err", "TestUser"),
         {"/bin/txruvo", "--expressdb-recreate", "--portable-dest=/v/d/TarnixVidezud/u", "--o=/t/out", "--e=/t/err",
          "--user=TestUser"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(c.built.isComplete()) << c.built.missingValue.toStdString();
        EXPECT_EQ(readable(c.built), c.expected);
    }
}

TEST_F(EngineCommandLinesTest, AnAbsentValueMakesTheVectorIncompleteInsteadOfShorter)
{
    User noKeyYet = testAccount(false);
    noKeyYet.setMEncodedKey(QString());
    User noPort = testAccount(true);
    noPort.setPort(QString());
    User noServer = testAccount(true);
    noServer.setRuvoServerIP("");

    const struct
    {
        const char *name;
        EngineArguments built;
        QString missing;
        qsizetype length;  // the vector keeps every position
    } cases[] = {
        {"key not encoded yet", deleteItems(noKeyYet, kNoProxy, "/d", "mac", "/tmp/l", {}), "--pvt-key=", 14},
        {"no proxy argument", quota(testAccount(true), QString(), false), "--proxy=", 8},
        {"no port argument", quota(noPort, kNoProxy, false), "--port=", 8},
        {"no server", bandwidthTest(noServer, true), "the storage server", 5},
        {"no list file", deleteItems(testAccount(true), kNoProxy, "/d", "mac", QString(), {}), "--files-from=", 14},
        {"no restore target",
         versionRestore("/bin/txruvo", testAccount(true), kNoProxy, {"a", "b", "c", "d", "e", "f", "g", ""}),
         "an argument", 22},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(c.built.isComplete());
        EXPECT_EQ(c.built.missingValue, c.missing);
        EXPECT_EQ(c.built.arguments.size(), c.length);
    }
}

TEST_F(EngineCommandLinesTest, CredentialFilesArePrivateAndGoWithTheirLastHolder)
{
    QString passwordFile;
    {
        const EngineArguments built = quota(testAccount(false), kNoProxy, false);
        passwordFile = built.arguments[3].mid(QStringLiteral("--password-file=").size());
        ASSERT_TRUE(QFile::exists(passwordFile));
        EXPECT_EQ(modeOf(EngineSecretFiles::folder()), 0700u);
        for (const QString &argument : built.arguments)
            EXPECT_FALSE(argument.contains("pw}") || argument.endsWith("=pw") || argument.endsWith("=key"));
    }
    EXPECT_FALSE(QFile::exists(passwordFile));
}

// A proxy user and password would be on the engine's command line, which every
// local user can read: a proxy setting that names a user travels in a private
// file instead, in the proxy argument's place.
TEST_F(EngineCommandLinesTest, AProxyUserAndPasswordTravelInAPrivateFile)
{
    const struct
    {
        const char *name;
        QString proxy;
        QString shown;
    } cases[] = {
        {"no proxy", kNoProxy, kNoProxy},
        {"proxy without a user", kProxy, kProxy},
        {"user and password", "--proxy=alice:s%40cret@px:8080", "--proxy-file={alice:s%40cret@px:8080}"},
        {"user without a password", "--proxy=alice:@px:8080", "--proxy-file={alice:@px:8080}"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const EngineArguments built = quota(testAccount(false), c.proxy, false);
        ASSERT_TRUE(built.isComplete());
        EXPECT_EQ(readable(built).value(6), c.shown);
        EXPECT_FALSE(built.arguments.join(u' ').contains("alice")) << built.arguments.join(u' ').toStdString();
    }
}

}  // namespace
