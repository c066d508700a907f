#include "common/utility/QLUtility.h"
#include "platform/PrivateFolder.h"
#include "support/OtherUser.h"
#include "support/SandboxFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

// encodeString against stand-in engines written as small scripts: each one
// reads the command file named by --utf8-cmd= the way the engine does.
class QLUtilityEncodeTest : public SandboxFixture
{
protected:
    void SetUp() override
    {
        SandboxFixture::SetUp();
        mSavedBinDir = qgetenv("TX_BIN_DIR");
        qputenv("TX_BIN_DIR", binDir().toUtf8());
        QDir().mkpath(binDir());
    }
    void TearDown() override
    {
        qputenv("TX_BIN_DIR", mSavedBinDir);
        SandboxFixture::TearDown();
    }

    QString binDir() const { return root() + "/bin"; }
    QString record() const { return root() + "/record.txt"; }

    // The script gets $cmd (the command file), $text and $out (its two values).
    void installEngine(const QByteArray &body)
    {
        const QString engine = binDir() + "/txruvo";
        writeText(engine, "#!/bin/sh\n"
                          "cmd=${1#--utf8-cmd=}\n"
                          "text=$(sed -n 's/^--string-encode=//p' \"$cmd\")\n"
                          "out=$(sed -n 's/^--out-file=//p' \"$cmd\")\n"
                          "echo ran >> '" +
                              record().toUtf8() + "'\n" + body + "\n");
        QFile::setPermissions(engine, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }

private:
    QByteArray mSavedBinDir;
};

TEST_F(QLUtilityEncodeTest, ClearTextPassesThroughAPrivateFileThatIsGoneAfterwards)
{
    installEngine("stat -c '%a' \"$cmd\" \"$(dirname \"$cmd\")\" >> '" + record().toUtf8() +
                  "'\n"
                  "dirname \"$cmd\" >> '" +
                  record().toUtf8() +
                  "'\n"
                  "printf 'enc(%s)\\n' \"$text\" > \"$out\"");
    QString error;
    const auto encoded = QLUtility::encodeString("pa ss=word", &error);
    ASSERT_TRUE(encoded.has_value()) << error.toStdString();
    EXPECT_EQ(*encoded, "enc(pa ss=word)");

    const QStringList lines = QString::fromUtf8(readText(record())).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines.at(1), "600");  // the command file
    EXPECT_EQ(lines.at(2), "700");  // its folder
    EXPECT_FALSE(QFileInfo::exists(lines.at(3)));
}

using namespace std::chrono_literals;

TEST_F(QLUtilityEncodeTest, FailuresAreReportedNeverAnsweredWithABlank)
{
    const struct
    {
        const char *name;
        const char *engine;  // null: no engine installed
        const char *text;
        const char *reason;
        std::chrono::milliseconds wait;  // short only where the engine hangs: a loaded machine is slow
    } cases[] = {
        {"engine fails", "echo partial > \"$out\"; exit 3", "secret", "exit code 3", 10s},
        {"engine writes nothing", "exit 0", "secret", "no encoded text", 10s},
        {"engine writes only a line break", "echo > \"$out\"", "secret", "no encoded text", 10s},
        {"engine writes only blanks", "echo ' ' > \"$out\"", "secret", "no encoded text", 10s},
        {"engine hangs", "exec sleep 10", "secret", "did not finish", 500ms},
        {"no engine", nullptr, "secret", "could not be started", 10s},
        {"line break in the text", "echo x > \"$out\"", "secret\n--debug", "line break", 10s},
        {"empty text", "echo x > \"$out\"", "", "no text", 10s},
    };
    for (const auto &test : cases) {
        QFile::remove(binDir() + "/txruvo");
        if (test.engine)
            installEngine(test.engine);
        QString error;
        EXPECT_FALSE(QLUtility::encodeString(test.text, &error, test.wait).has_value()) << test.name;
        EXPECT_TRUE(error.contains(test.reason)) << test.name << ": " << error.toStdString();
    }
    // The texts that were refused never reached an engine.
    EXPECT_EQ(readText(record()).count("ran"), 5);
}

// End to end against the stand-in engine of the build (TX_BIN_DIR), with the
// temporary folder moved into the sandbox to see that nothing stays behind.
class QLUtilityEngineEncodeTest : public SandboxFixture
{
protected:
    void SetUp() override
    {
        SandboxFixture::SetUp();
        mSavedTemporaryRoot = qgetenv("TMPDIR");
        qputenv("TMPDIR", temporaryRoot().toUtf8());
        QDir().mkpath(temporaryRoot());
    }
    void TearDown() override
    {
        if (mSavedTemporaryRoot.isNull())
            qunsetenv("TMPDIR");
        else
            qputenv("TMPDIR", mSavedTemporaryRoot);
        SandboxFixture::TearDown();
    }

    QString temporaryRoot() const { return root() + "/tmp"; }

    // The engine's published form: "TXE1:" and the unpadded base64url of the
    // UTF-8 bytes, byte i mixed with 0x5A + 7 * i.
    static QString decodedByContract(const QString &encoded)
    {
        if (!encoded.startsWith("TXE1:"))
            return {};
        QByteArray bytes = QByteArray::fromBase64(encoded.mid(5).toLatin1(),
                                                  QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals);
        for (qsizetype i = 0; i < bytes.size(); ++i)
            bytes[i] = char(quint8(bytes[i]) ^ quint8(0x5A + 7 * i));
        return QString::fromUtf8(bytes);
    }

private:
    QByteArray mSavedTemporaryRoot;
};

TEST_F(QLUtilityEngineEncodeTest, PasswordsAndKeysRoundTripThroughTheEngine)
{
    for (const QString &clear : {QStringLiteral("s3cret pass"), QStringLiteral("Pässwörd=--out-file=/x 日本")}) {
        QString error;
        const auto encoded = QLUtility::encodeString(clear, &error);
        ASSERT_TRUE(encoded.has_value()) << error.toStdString();
        EXPECT_NE(*encoded, clear);
        EXPECT_EQ(decodedByContract(*encoded), clear);
    }
    // Nothing is left: the exchange went with both its files, in the application's own folder.
    const QStringList left = QDir(temporaryRoot()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    EXPECT_EQ(left, QStringList{QFileInfo(PrivateFolder::temporaryFolder()).fileName()});
    EXPECT_TRUE(QDir(PrivateFolder::temporaryFolder())
                    .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
                    .isEmpty());
}

TEST_F(QLUtilityEngineEncodeTest, AnotherUserHoldingTheTemporaryFolderNameBlocksNothing)
{
    if (!OtherUser::available())
        GTEST_SKIP() << "acting as another user needs root";
    // The temporary folder is open to all, as /tmp is; the other user takes our name first.
    QFile::setPermissions(temporaryRoot(), QFileDevice::Permissions(0x7777));
    ::chmod(QFile::encodeName(temporaryRoot()).constData(), 01777);
    OtherUser::openPathTo(temporaryRoot());
    ASSERT_EQ(OtherUser::run({"mkdir", "-m", "0700", PrivateFolder::temporaryFolder()}), 0);

    QString error;
    const auto encoded = QLUtility::encodeString(QStringLiteral("s3cret pass"), &error);
    ASSERT_TRUE(encoded.has_value()) << error.toStdString();
    EXPECT_EQ(decodedByContract(*encoded), "s3cret pass");
    EXPECT_EQ(QDir(temporaryRoot()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QFileInfo(PrivateFolder::temporaryFolder()).fileName()});
}
