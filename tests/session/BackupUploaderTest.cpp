#include "session/upload/Backup.h"

#include "engine/EngineTestSupport.h"
#include "session/SecretArguments.h"
#include "support/SandboxFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <future>
#include <memory>

// The uploader's vectors element by element, and its synchronous run.

namespace {

Backup::Account account(bool ruvoUser, bool defaultKey)
{
    Backup::Account a;
    a.executorPath = "/bin/txruvo";
    a.userName = "Ann";
    a.password = "TXE1:pw";
    a.portArgument = "--port=443";
    a.serverIP = "10.0.0.1";
    a.isRuvoUser = ruvoUser;
    a.isDefaultKey = defaultKey;
    a.privateKey = "TXE1:key";
    return a;
}

struct Flags
{
    bool uploadLog = true;  // as a new uploader has them
    bool thumbnail = false;
    bool imageMetadata = false;
    bool timeMachine = false;
};

struct VectorCase
{
    const char *name;
    bool ruvoUser;
    bool defaultKey;
    bool ssl;
    Flags flags;
    QStringList expected;  // "<out>" and "<err>" for the run's files, secrets as "<key>" and "<password>"
};

const QString kRemote = "ann@10.0.0.1::home/Drive/ann/Studio";

QStringList storageVector(QStringList middle, QStringList tail)
{
    return QStringList{"--encode", "--no-versions", "--portable-dest=/Drive/ann/Studio", "--portable", "--enc-opt"} +
           middle + tail;
}

const VectorCase kCases[] = {
    {"TimeMachineWithDefaultKeyHasSeventeen",
     true,
     true,
     false,
     {true, true, false, true},
     storageVector(
         {"--relative", "--add-progress", "--timeout=120", "--port=443", "<password>", "<out>", "<err>", "--proxy="},
         {"--temp=/tm/1", "--files-from=/tm/1/source.txt", "/tm/1/", kRemote})},
    {"TimeMachineWithPrivateKey",
     true,
     false,
     false,
     {false, false, false, true},
     storageVector({"--relative", "--add-progress", "--timeout=120", "--port=443", "<key>", "<password>", "<out>",
                    "<err>", "--proxy="},
                   {"--temp=/tm/1", "--files-from=/tm/1/source.txt", "/tm/1/", kRemote})},
    {"ImageMetadataLosesSourceRootRelativeAndProgress",
     true,
     true,
     false,
     {false, false, true, false},
     storageVector({"--attrib-ornt2", "--timeout=120", "--port=443", "<password>", "<out>", "<err>", "--proxy="},
                   {"--temp=/tm/1", "--files-from=/tm/1/source.txt", kRemote})},
    {"EveryFlagOfAnUploadKeepsItsOption",
     true,
     true,
     false,
     {true, true, false, false},
     storageVector({"--backup-log", "--relative", "--add-progress", "--timeout=120", "--port=443", "<password>",
                    "<out>", "<err>", "--thumbnail", "--proxy="},
                   {"--temp=/tm/1", "--files-from=/tm/1/source.txt", "/tm/1/", kRemote})},
    {"SslStorageServerAccountNamesTheServer",
     true,
     true,
     true,
     {false, false, false, true},
     storageVector(
         {"--relative", "--add-progress", "--timeout=120", "--port=443", "<password>", "<out>", "<err>", "--proxy="},
         {"--temp=/tm/1", "--files-from=/tm/1/source.txt", "/tm/1/", kRemote})},
    {"RsyncStyleWithSslGoesToLocalhost",
     false,
     true,
     true,
     {},
     {"--relative", "-z", "--compress", "-v", "-t", "--inplace", "--bwlimit=32765", "--timeout=900", "--port=873",
      "--errlog-from=/tm/1/error.rtf", "--progress", "--block-size=30720", "--files-from=/tm/1/source.txt", "/tm/1/",
      "ann@localhost::home/Drive/ann/Studio"}},
    {"RsyncStyleWithoutSslNamesTheServer",
     false,
     true,
     false,
     {},
     {"--relative", "-z", "--compress", "-v", "-t", "--inplace", "--bwlimit=32765", "--timeout=900", "--port=873",
      "--errlog-from=/tm/1/error.rtf", "--progress", "--block-size=30720", "--files-from=/tm/1/source.txt", "/tm/1/",
      kRemote}},
};

std::unique_ptr<Backup> makeUploader(const VectorCase &c)
{
    auto uploader = std::make_unique<Backup>(account(c.ruvoUser, c.defaultKey), "/tm/1/error.rtf", "/tm/1/",
                                             "/Drive/ann/Studio", c.ssl);
    uploader->setUploadLogFlag(c.flags.uploadLog);
    uploader->setThumbnailUploadFlag(c.flags.thumbnail);
    uploader->setshouldUpdateIMD(c.flags.imageMetadata);
    uploader->setTimeMachineBackup(c.flags.timeMachine);
    return uploader;
}

class BackupVectorTable : public SandboxFixture, public ::testing::WithParamInterface<VectorCase>
{};

TEST_P(BackupVectorTable, BuildsTheVectorWithSecretsInPrivateFiles)
{
    const VectorCase &c = GetParam();
    const std::unique_ptr<Backup> made = makeUploader(c);
    Backup &uploader = *made;
    const EngineArguments vector = uploader.uploadVector("/tm/1/source.txt");
    ASSERT_TRUE(vector.isComplete()) << vector.missingValue.toStdString();

    const QRegularExpression dated(R"(^/tm/1/(outFile|errorFile)_\d{4}-\d\d-\d\d \d\d:\d\d:\d\d [+-]\d{4}$)");
    EXPECT_TRUE(dated.match(uploader.outFilePath()).hasMatch()) << uploader.outFilePath().toStdString();
    EXPECT_TRUE(dated.match(uploader.errorFilePath()).hasMatch()) << uploader.errorFilePath().toStdString();
    QStringList shown = withSecretsNamed(vector.arguments, "TXE1:key", "TXE1:pw");
    shown.replaceInStrings(QRegularExpression("^--o=" + QRegularExpression::escape(uploader.outFilePath()) + "$"),
                           "<out>");
    shown.replaceInStrings(QRegularExpression("^--e=" + QRegularExpression::escape(uploader.errorFilePath()) + "$"),
                           "<err>");
    EXPECT_EQ(shown, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Uploads, BackupVectorTable, ::testing::ValuesIn(kCases),
                         [](const auto &info) { return std::string(info.param.name); });

class BackupRunTest : public SandboxFixture
{
protected:
    // An engine that writes its output file, then the given text to its error
    // file, and waits for the file "hold" to go before it ends.
    QString fakeEngine(const QByteArray &errorText)
    {
        const QString path = root() + "/engine.sh";
        writeText(
            path,
            "#!/bin/sh\nfor a; do case \"$a\" in --o=*) out=\"${a#--o=}\";; --e=*) err=\"${a#--e=}\";; esac; done\n"
            "printf 'line' > \"$out\"; printf '" +
                errorText +
                "' > \"$err\"\n"
                "while [ -e '" +
                root().toUtf8() + "/hold' ]; do sleep 0.05; done\n");
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }

    std::unique_ptr<Backup> uploader(const QString &engine)
    {
        Backup::Account a = account(true, true);
        a.executorPath = engine;
        auto backup = std::make_unique<Backup>(a, applicationFolder() + "/work/error.rtf",
                                               applicationFolder() + "/work/", "/Drive/ann/Studio", false);
        backup->setTimeMachineBackup(true);
        return backup;
    }

    // Whether the engine has written its output file in the work folder.
    bool engineStarted() const
    {
        return !QDir(applicationFolder() + "/work").entryList({"outFile_*"}, QDir::Files).isEmpty();
    }
};

TEST_F(BackupRunTest, TheResultIsWhetherTheEngineLeftErrorTextAndBothFilesGo)
{
    for (const auto &[errorText, expected] : {std::pair{QByteArray(), 0}, std::pair{QByteArray("IOERROR: x"), -1}}) {
        SCOPED_TRACE(errorText.toStdString());
        const std::unique_ptr<Backup> backup = uploader(fakeEngine(errorText));
        writeText(applicationFolder() + "/work/source.txt", "/a");
        EXPECT_EQ(backup->BackupData(applicationFolder() + "/work/source.txt", "/ignored"), expected);
        EXPECT_FALSE(engineStarted()) << "the output file is gone";
        EXPECT_EQ(QDir(applicationFolder() + "/work").entryList({"errorFile_*"}, QDir::Files), QStringList());
    }
}

TEST_F(BackupRunTest, ARunUnderWayRefusesASecondAndStopEndsItAsAFailure)
{
    writeText(root() + "/hold", "");
    const std::unique_ptr<Backup> backup = uploader(fakeEngine(""));
    writeText(applicationFolder() + "/work/source.txt", "/a");
    std::future<int> first =
        std::async(std::launch::async, [&] { return backup->BackupData(applicationFolder() + "/work/source.txt"); });
    ASSERT_TRUE(waitUntil([&] { return engineStarted(); }, 20000));
    EXPECT_EQ(backup->BackupData(applicationFolder() + "/work/source.txt"), -1) << "an earlier run still runs";
    backup->stopProcess();
    ASSERT_EQ(first.wait_for(std::chrono::seconds(20)), std::future_status::ready);
    EXPECT_EQ(first.get(), -1) << "a stopped engine is no success";
}

}  // namespace
