#include "session/upload/RetriedUpload.h"

#include "engine/EngineTestSupport.h"
#include "support/SandboxFixture.h"

#include <QFile>

#include <gtest/gtest.h>

#include <future>

// Attempts of an upload: how many, the rest between them, and a stop.

namespace {

class RetriedUploadTest : public SandboxFixture
{
protected:
    // An engine that counts its runs and reports an error in the first `failures` of them.
    QString engine(int failures)
    {
        const QString path = root() + "/engine.sh";
        writeText(path, "#!/bin/sh\nfor a; do case \"$a\" in --e=*) err=\"${a#--e=}\";; esac; done\n"
                        "echo run >> '" +
                            runsFile().toUtf8() +
                            "'\n"
                            "[ $(wc -l < '" +
                            runsFile().toUtf8() + "') -le " + QByteArray::number(failures) +
                            " ] && printf 'IOERROR: no' > \"$err\"\nexit 0\n");
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }
    QString runsFile() const { return root() + "/runs"; }
    int runs() const { return readText(runsFile()).count('\n'); }

    RetriedUpload::UploaderMaker maker(const QString &enginePath)
    {
        return [this, enginePath](const QString &errorFile) {
            Backup::Account account{enginePath, "ann", "pw", "--port=443", "10.0.0.1", true, true, {}};
            return std::make_unique<Backup>(account, errorFile, applicationFolder() + "/work/", "/Drive/ann", false);
        };
    }
};

TEST_F(RetriedUploadTest, TriesUntilASuccessAtMostFiveTimes)
{
    const struct
    {
        int failures;
        bool succeeds;
        int runs;
    } cases[] = {{0, true, 1}, {2, true, 3}, {5, false, 5}, {9, false, 5}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.failures);
        QFile::remove(runsFile());
        writeText(applicationFolder() + "/work/source.txt", "/a");
        RetriedUpload upload(5, std::chrono::milliseconds(1));
        EXPECT_EQ(upload.run(applicationFolder() + "/work/source.txt", applicationFolder() + "/work/error.rtf",
                             maker(engine(c.failures))),
                  c.succeeds);
        EXPECT_EQ(runs(), c.runs);
        EXPECT_EQ(QFile(applicationFolder() + "/work/error.rtf").permissions() & 0x0077, 0)
            << "the error file is private";
    }
}

TEST_F(RetriedUploadTest, AStopEndsTheRestAndNoFurtherAttemptStarts)
{
    writeText(applicationFolder() + "/work/source.txt", "/a");
    RetriedUpload upload(5, std::chrono::minutes(10));
    const QString enginePath = engine(99);
    std::future<bool> done = std::async(std::launch::async, [&] {
        return upload.run(applicationFolder() + "/work/source.txt", applicationFolder() + "/work/error.rtf",
                          maker(enginePath));
    });
    ASSERT_TRUE(waitUntil([&] { return runs() == 1; }, 20000));
    upload.stop();
    ASSERT_EQ(done.wait_for(std::chrono::seconds(20)), std::future_status::ready);
    EXPECT_FALSE(done.get());
    EXPECT_EQ(runs(), 1);
    EXPECT_FALSE(upload.pause(std::chrono::minutes(10))) << "a stopped upload does not rest";
}

}  // namespace
