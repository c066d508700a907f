#include "LocalTreeFixture.h"

#include "client/backup/localtree/BackupSetSizeKeeper.h"
#include "client/backup/localtree/SerialWorker.h"
#include "platform/PropertyList.h"

#include <QElapsedTimer>
#include <QSemaphore>
#include <QTest>

namespace {

// Sizes every folder as 100 bytes, each call waiting until the test lets it go.
class GatedSizeCalculator : public FolderSizeCalculator
{
public:
    QString sizeOfFolder(const QString &diskPath) override
    {
        started.release();
        gate.acquire();
        QMutexLocker lock(&mutex);
        calls.append(diskPath);
        return QStringLiteral("100");
    }

    QSemaphore started;
    QSemaphore gate;
    QMutex mutex;
    QStringList calls;
};

class BackupSetSizesTest : public LocalTreeFixture
{
protected:
    template <typename Calculator>
    std::unique_ptr<BackupSetSizeKeeper> keeper(Calculator *&calculator)
    {
        auto owned = std::make_unique<Calculator>();
        calculator = owned.get();
        auto made = std::make_unique<BackupSetSizeKeeper>(std::move(owned), mLayout, timings(), worker);
        made->setFiles(sizeFile(), root() + "/SizeFlag.txt", QStringLiteral("me"));
        return made;
    }

    QString sizeFile() const { return root() + "/Sizes.plist"; }
    QVariantMap sizes()
    {
        worker.finish();
        return PropertyList::readDictionary(sizeFile());
    }

    SerialWorker worker;
};

TEST_F(BackupSetSizesTest, FilesAndDrivesAreSizedAtOnceAndFoldersAfterTheLastSave)
{
    TableSizeCalculator *calculator = nullptr;
    auto sizeKeeper = keeper(calculator);
    calculator->sizes.insert(startup() + "/Users/me/Music", QStringLiteral("4096"));

    sizeKeeper->saveBackupSetForSizeCalculation({"/Users/me/Documents/report.txt", "/Users/me/Music"});
    sizeKeeper->saveBackupSetForSizeCalculation({"/Users/me/Documents/report.txt", "/Users/me/Music", "/"});
    QVariantMap known = sizes();
    EXPECT_GT(known.take("/").toULongLong(), 0u);  // the used space of the disk, not a walk
    EXPECT_EQ(known, QVariantMap({{"/Users/me/Documents/report.txt", "5"}, {"/Users/me/Music", "--"}}));
    EXPECT_EQ(readText(root() + "/SizeFlag.txt"), "me");

    ASSERT_TRUE(waitFor([&] { return sizes().value("/Users/me/Music") == "4096"; }));
    EXPECT_EQ(calculator->calls, QStringList{startup() + "/Users/me/Music"});  // two saves, one sizing
}

TEST_F(BackupSetSizesTest, KnownValuesStayAndRemovedPathsGo)
{
    TableSizeCalculator *calculator = nullptr;
    auto sizeKeeper = keeper(calculator);
    sizeKeeper->saveBackupSetForSizeCalculation({"/Users/me/Pictures", "/Users/me/Music"});
    ASSERT_TRUE(waitFor([&] { return sizes().value("/Users/me/Pictures") == "-1"; }));
    ASSERT_EQ(calculator->calls.size(), 2);

    // "-1" is a value: it is kept, not worked out again.
    sizeKeeper->saveBackupSetForSizeCalculation({"/Users/me/Pictures"});
    EXPECT_EQ(sizes(), QVariantMap({{"/Users/me/Pictures", "-1"}}));
    QTest::qWait(50);
    EXPECT_EQ(calculator->calls.size(), 2);
}

TEST_F(BackupSetSizesTest, ASaveDuringASizingWinsAndTheMainThreadNeverWaits)
{
    GatedSizeCalculator *calculator = nullptr;
    auto sizeKeeper = keeper(calculator);
    sizeKeeper->saveBackupSetForSizeCalculation({"/Users/me/Music"});
    ASSERT_TRUE(waitFor([&] { return calculator->started.available() == 1; }));

    // A new set while Music is being sized: that run's result is dropped, and the
    // next run waits for it to end without holding up the main thread.
    sizeKeeper->saveBackupSetForSizeCalculation({"/Users/me/Pictures"});
    QElapsedTimer clock;
    clock.start();
    QTest::qWait(100);  // the next run is due after 20 ms
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_TRUE(sizeKeeper->isSizing());
    EXPECT_EQ(sizes(), QVariantMap({{"/Users/me/Pictures", "--"}}));

    calculator->gate.release(2);
    ASSERT_TRUE(waitFor([&] { return sizes().value("/Users/me/Pictures") == "100"; }));
    EXPECT_EQ(sizes(), QVariantMap({{"/Users/me/Pictures", "100"}}));
    EXPECT_EQ(calculator->calls, QStringList({startup() + "/Users/me/Music", startup() + "/Users/me/Pictures"}));
}

TEST_F(BackupSetSizesTest, TheSavedSetIsSizedThroughTheController)
{
    mSizes = nullptr;
    controller().RefreshWithinitialize();
    ASSERT_TRUE(settle());
    mSizes->sizes.insert(startup() + "/Users/me/Music", QStringLiteral("2048"));
    controller().toggleCheckBoxState(node(tree("/Users/me/Music")));
    const QString sizeFile = BackupSetFiles(QStringLiteral("me"), true).sizeFilePath();
    ASSERT_TRUE(waitFor([&] { return PropertyList::readDictionary(sizeFile).value("/Users/me/Music") == "2048"; }));
}

}  // namespace
