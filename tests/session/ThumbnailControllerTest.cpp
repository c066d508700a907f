#include "session/thumbnails/ThumbnailController.h"

#include "common/files/TXSupportFileManager.h"
#include "common/texts/QLLocalizedString.h"
#include "engine/EngineTestSupport.h"
#include "support/SandboxFixture.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>

#include <gtest/gtest.h>
#include <utime.h>

// Thumbnails made and uploaded through the stand-in engine beside their
// images on the drive; old uploaded thumbnail folders are cleared away.

namespace {

class FinishRecorder : public ThumbnailControllerDelegate
{
public:
    void didThumbnailOperationFinished(ThumbnailController *) override { ++finished; }
    int finished = 0;
};

class ThumbnailControllerTest : public SandboxFixture
{
protected:
    void SetUp() override
    {
        SandboxFixture::SetUp();
        TXSupportFileManager::txFileManager().setTarnixUserName("ann");
    }

    QString drive() const { return volumes() + "/Drive/TarnixVidezud/ann/Studio"; }
    Backup::Account account() const
    {
        return {QLLocalizedString("ExecuterPathRuvo"), "ann", "pw", "--port=443", "10.0.0.1", true, true, {}};
    }
    QString userFolder() const
    {
        return TXSupportFileManager::txFileManager().pathForApplicationFile(ApplicationFile::UserFolder);
    }
    // An earlier run's thumbnail folder, last changed hours ago or now.
    QString earlierFolder(const QString &name, bool uploaded, bool old)
    {
        const QString folder = userFolder() + "/" + name;
        writeText(folder + "/x.jpg_THINT", "thumb");
        if (uploaded)
            writeText(folder + "/" + ThumbnailController::kSuccessMarker, "");
        if (old) {
            const utimbuf fiveHoursAgo{::time(nullptr) - 5 * 3600, ::time(nullptr) - 5 * 3600};
            ::utime(QFile::encodeName(folder).constData(), &fiveHoursAgo);
        }
        return folder;
    }

    ThumbnailTimings shortWaits{std::chrono::milliseconds(0), std::chrono::milliseconds(1), std::chrono::hours(4)};
};

TEST_F(ThumbnailControllerTest, ThumbnailsLandBesideTheirImagesAndTheWorkIsClearedAway)
{
    const QString image = root() + "/Pictures/cat.png";
    QDir().mkpath(root() + "/Pictures");
    QImage(800, 600, QImage::Format_RGB32).save(image);
    QDir().mkpath(drive());
    writeText(applicationFolder() + "/work/files.txt", image.toUtf8());
    Backup backup(account(), applicationFolder() + "/work/error.rtf", "/", drive(), false);
    backup.setUploadLogFlag(false);
    ASSERT_EQ(backup.BackupData(applicationFolder() + "/work/files.txt"), 0);

    const QString staleUploaded = earlierFolder("Thumbs_1", true, true);
    const QString staleNotUploaded = earlierFolder("Thumbs_2", false, true);
    const QString recentUploaded = earlierFolder("Thumbs_3", true, false);

    FinishRecorder recorder;
    ThumbnailController controller(drive(), account(), shortWaits);
    controller.setDelegate(&recorder);
    controller.addImages({image});
    controller.start();
    ASSERT_TRUE(waitUntil([&] { return recorder.finished == 1; }, 30000));
    ASSERT_TRUE(controller.backupSucceeded());

    EXPECT_EQ(QImageReader(drive() + image + "_THINT").size(), QSize(800, 600));
    EXPECT_EQ(QImageReader(drive() + image + "_THSML").size(), QSize(135, 135));
    EXPECT_EQ(QImageReader(drive() + image + "_THTIN").size(), QSize(40, 40));
    EXPECT_FALSE(QFile::exists(controller.thumbnailFolder())) << "an uploaded folder goes";
    EXPECT_FALSE(QFile::exists(staleUploaded));
    EXPECT_TRUE(QFile::exists(staleNotUploaded));
    EXPECT_TRUE(QFile::exists(recentUploaded));
}

TEST_F(ThumbnailControllerTest, AFailedUploadKeepsThePrivateFolderWithItsListAndMarker)
{
    const QString image = root() + "/Pictures/cat.png";
    QDir().mkpath(root() + "/Pictures");
    QImage(64, 64, QImage::Format_RGB32).save(image);
    Backup::Account noEngine = account();
    noEngine.executorPath = root() + "/no-engine";

    FinishRecorder recorder;
    ThumbnailController controller(drive(), noEngine, shortWaits);
    controller.setDelegate(&recorder);
    controller.addImages({image});
    controller.start();
    ASSERT_TRUE(waitUntil([&] { return recorder.finished == 1; }, 30000));
    EXPECT_FALSE(controller.backupSucceeded());

    const QString folder = controller.thumbnailFolder();
    EXPECT_TRUE(QFileInfo(folder).fileName().startsWith("Thumbs_"));
    EXPECT_EQ(QFile(folder).permissions() & 0x0077, 0);
    EXPECT_EQ(QFile(folder + "/source.txt").permissions() & 0x0077, 0);
    EXPECT_EQ(readText(folder + "/source.txt"), (image + "_THINT\n" + image + "_THSML\n" + image + "_THTIN").toUtf8());
    EXPECT_TRUE(QFile::exists(folder + "/" + ThumbnailController::kProgressMarker));
}

}  // namespace
