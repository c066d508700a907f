#include "EngineHarness.h"

#include <QFile>
#include <QRandomGenerator>

namespace {

class ParsingAndEncodeTest : public EngineHarness
{
protected:
    // Runs the string-encoding exchange; none when no out-file was written.
    std::optional<QString> encode(const QString &text)
    {
        const QString command = root() + "/.cmdFile";
        const QString out = root() + "/.outFile";
        writeText(command, ("--string-encode=" + text + "\n--out-file=" + out).toUtf8());
        QProcess process;
        process.start(engine(), {"--utf8-cmd=" + command});
        process.waitForFinished();
        if (!QFile::exists(out))
            return std::nullopt;
        EXPECT_EQ(QFile::permissions(out) & (QFile::ReadOther | QFile::ReadGroup), QFileDevice::Permissions());
        const QString encoded = QString::fromUtf8(readText(out));
        QFile::remove(out);
        return encoded;
    }
};

TEST_F(ParsingAndEncodeTest, OptionsInAnyOrderAndUnknownOnesAreAccepted)
{
    const QString a = source("/a.txt");
    writeText(a, "alpha");
    writeList({a});
    QStringList vector = backupVector();
    const QString root = vector.takeLast();
    const QString slash = vector.takeLast();
    QStringList options = vector.mid(1);
    std::shuffle(options.begin(), options.end(), *QRandomGenerator::global());
    options << "--timeout=900"
            << "--some-future-option=x y"
            << "--proxy=:@proxy.example:8080";
    const Run result = run(QStringList{engine()} + options + QStringList{slash, root});
    EXPECT_EQ(result.exitCode, 0) << qPrintable(result.errors);
    EXPECT_EQ(result.lines().size(), 1);
    EXPECT_EQ(stored(drive() + a), "alpha");
}

TEST_F(ParsingAndEncodeTest, VectorsWithoutAUsableShapeOrWithOtherOperationsAreRefused)
{
    struct Case
    {
        QStringList arguments;
        int exitCode;
        const char *message;
    };
    const Case cases[] = {
        {{"--o=x", "--e=y", "--files-from=z"}, 2, "txruvo error: invalid path"},
        {{"--o=x", "user@host:/no-home", "/tmp"}, 2, "txruvo error: invalid path"},
        {{"--delete-items", "--portable", "user@host::home/x"}, 1, "txruvo error: device is not connected"},
        {{"--quota-fromfile", "user@host::home/"}, 1, "txruvo error: --quota-fromfile is not supported"},
    };
    for (const Case &c : cases) {
        QProcess process;
        process.start(engine(), c.arguments);
        ASSERT_TRUE(process.waitForFinished());
        EXPECT_EQ(process.exitCode(), c.exitCode) << qPrintable(c.arguments.join(' '));
        EXPECT_TRUE(process.readAllStandardError().startsWith(c.message)) << qPrintable(c.arguments.join(' '));
    }
}

TEST_F(ParsingAndEncodeTest, EncodingIsDeterministicReversibleAndNotTheIdentity)
{
    const QStringList texts = {"secret", "pässwörd with blanks", "two\nlines", "--out-file=trick"};
    QStringList encodings;
    for (const QString &text : texts) {
        const std::optional<QString> encoded = encode(text);
        ASSERT_TRUE(encoded.has_value()) << qPrintable(text);
        EXPECT_NE(*encoded, text);
        EXPECT_FALSE(encoded->contains('\n'));
        EXPECT_EQ(encode(text), encoded);
        encodings << *encoded;
    }
    encodings.removeDuplicates();
    EXPECT_EQ(encodings.size(), texts.size());
    EXPECT_FALSE(QFile::exists(root() + "/.outFile"));
}

TEST_F(ParsingAndEncodeTest, EncodedPasswordIsAcceptedLikeThePlainOne)
{
    const std::optional<QString> encoded = encode("secret");
    ASSERT_TRUE(encoded);
    QFile password(operation() + "/password");
    ASSERT_TRUE(password.open(QIODevice::WriteOnly | QIODevice::Truncate));
    password.write(encoded->toUtf8());
    password.close();
    writeText(source("/a.txt"), "a");
    writeList({source("/a.txt")});
    setScenario({{"password", "secret"}});
    EXPECT_EQ(run(backupVector()).exitCode, 0);
    setScenario({{"password", "Secret"}});
    EXPECT_TRUE(run(backupVector()).errors.contains("password mismatch"));
}

TEST_F(ParsingAndEncodeTest, BrokenCommandFileWritesNothing)
{
    writeText(root() + "/.cmdFile", "no keys here");
    QProcess process;
    process.start(engine(), {"--utf8-cmd=" + root() + "/.cmdFile"});
    ASSERT_TRUE(process.waitForFinished());
    EXPECT_NE(process.exitCode(), 0);
    process.start(engine(), {"--utf8-cmd=" + root() + "/missing"});
    ASSERT_TRUE(process.waitForFinished());
    EXPECT_NE(process.exitCode(), 0);
    EXPECT_TRUE(process.readAllStandardError().startsWith("txruvo error:"));
}

}  // namespace
