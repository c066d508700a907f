#include "engine/controllers/ControllerTestSupport.h"

#include "engine/controllers/ControllerTexts.h"
#include "engine/controllers/RuvoFolderSizeController.h"
#include "engine/controllers/RuvoFolderSizeControllerDelegateProtocol.h"

namespace {

class SizeRecorder : public RuvoFolderSizeControllerDelegateProtocol
{
public:
    void FolderSizeCalculationDidFinishSuccessfully(RuvoFolderSizeController *, const QVariantMap &output) override
    {
        result = output.value("fileSize").toString() + " bytes, " + output.value("FileCount").toString() + " files";
        log.add("finish");
    }
    void FolderSizeCalculationDidFailWithError(const QString &error, RuvoFolderSizeController *) override
    {
        result = error;
        log.add("fail");
    }

    CallbackLog log;
    QString result;
};

class FolderSizeControllerTest : public IndexReaderFixture
{
protected:
    void SetUp() override
    {
        IndexReaderFixture::SetUp();
        addFiles({"/Office/Users/ann/a.txt", "/Office/Users/ann/sub/b.txt", "/Office/Users/bob/c.txt"});
    }

    // Measures one folder to its end: the callbacks heard and what the last one said.
    QStringList measure(const QString &folder, QString *result)
    {
        SizeRecorder recorder;
        RuvoFolderSizeController controller(timings());
        controller.userInfo() = account();
        controller.setFilePath(folder);
        controller.setDelegate(&recorder);
        controller.startFolderSizeCalculation();
        EXPECT_TRUE(recorder.log.waitFor(1));
        spinFor(50);
        *result = recorder.result;
        return recorder.log.entries();
    }
};

TEST_F(FolderSizeControllerTest, SizesComeFromTheIndexOnTheWorkerThread)
{
    const struct
    {
        QString folder;
        QString result;
    } cases[] = {
        {"", "300.0 bytes, 3 files"},  // the whole account
        {"/Office/Users/ann", "200.0 bytes, 2 files"},
        {"/Office/Users/nobody", "0.0 bytes, 0 files"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.folder.toStdString());
        QString result;
        EXPECT_EQ(measure(c.folder, &result), QStringList{"finish"});
        EXPECT_EQ(result, c.result);
    }
}

TEST_F(FolderSizeControllerTest, AnIndexThatCannotBeReadFailsOnceWithItsReason)
{
    QString result;
    spoilIndex();
    EXPECT_EQ(measure("", &result), QStringList{"fail"});
    EXPECT_EQ(result, "LDB cannot be accessed");
    enterSyncModeWithoutSyncUser();
    EXPECT_EQ(measure("", &result), QStringList{"fail"});
    EXPECT_EQ(result, ControllerTexts::kNoIndexUser);
}

}  // namespace
