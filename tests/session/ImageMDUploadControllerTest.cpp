#include "session/imagemetadata/ImageMDUploadController.h"

#include "common/files/TXSupportFileManager.h"
#include "common/texts/QLLocalizedString.h"
#include "engine/EngineTestSupport.h"
#include "support/ExifFixture.h"
#include "support/SandboxFixture.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QThread>

#include <gtest/gtest.h>

// Metadata directives of backed-up images, and a run that uploads them
// through the stand-in engine beside the images on the drive.

namespace {

using namespace ExifFixture;

QByteArray jpegWith(const QByteArray &tiff)
{
    QImage image(32, 24, QImage::Format_RGB32);
    image.fill(Qt::gray);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "jpeg");
    return tiff.isEmpty() ? buffer.data() : withExif(buffer.data(), tiff);
}

class FinishRecorder : public ImageMDUploadDelegate
{
public:
    void didMetaDataUpdateFinished(ImageMDUploadController *) override
    {
        onMainThread = QThread::currentThread() == QCoreApplication::instance()->thread();
        ++finished;
    }
    void checkforRenameInfo(ImageMDUploadController *) override { ++renameQuestions; }

    int finished = 0;
    int renameQuestions = 0;
    bool onMainThread = false;
};

class ImageMDUploadControllerTest : public SandboxFixture
{
protected:
    QString drive() const { return volumes() + "/Drive/TarnixVidezud/ann/Studio"; }
    Backup::Account account() const
    {
        return {QLLocalizedString("ExecuterPathRuvo"), "ann", "pw", "--port=443", "10.0.0.1", true, true, {}};
    }
    QString userRoot() const
    {
        return TXSupportFileManager::txFileManager().pathForApplicationFile(ApplicationFile::RootUserFolder);
    }
    QStringList workFolders() const { return QDir(userRoot()).entryList({"ImageMD_ *"}, QDir::Dirs); }

    void SetUp() override
    {
        SandboxFixture::SetUp();
        TXSupportFileManager::txFileManager().setTarnixUserName("ann");
    }

    ImageMDTimings shortWaits{std::chrono::milliseconds(1), std::chrono::milliseconds(1)};
};

TEST_F(ImageMDUploadControllerTest, DirectiveLinesOfAnImage)
{
    const QByteArray time = "2026:12:10 20:15:00";
    const struct
    {
        const char *name;
        QByteArray tiff;
        QStringList lines;  // "<path>" for the image path less the sync folder
    } cases[] = {
        {"time and model, no GPS",
         tiffBlock({ascii(0x0110, "Tarnix Cam")}, {ascii(0x9004, time)}, {}),
         {"--f=<path>", "--a=2026/12/10 20:15:00|,|Tarnix Cam"}},
        {"position only",
         tiffBlock({}, {}, {rationals(0x0002, {{10, 4}}), rationals(0x0004, {{3, 1}})}),
         {"--f=<path>", "--a=|2.5,3|"}},
        {"a model that would add a line",
         tiffBlock({ascii(0x0110, "Cam\n--f=/etc/passwd\r")}, {}, {}),
         {"--f=<path>", "--a=|,|Cam --f=/etc/passwd "}},
        {"nothing stated", {}, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString image = root() + "/Pictures/photo.jpg";
        writeText(image, jpegWith(c.tiff));
        QStringList expected = c.lines;
        expected.replaceInStrings("<path>", image.mid(1));
        EXPECT_EQ(ImageMDUploadController::directiveLines(image, "/"), expected);
        if (!c.lines.isEmpty()) {
            EXPECT_EQ(ImageMDUploadController::directiveLines(image, root() + "/Pictures/").first(), "--f=photo.jpg");
            EXPECT_EQ(ImageMDUploadController::directiveLines(image, "/elsewhere/").first(), "--f=" + image);
        }
    }
}

TEST_F(ImageMDUploadControllerTest, ARunUploadsTheDirectivesBesideTheImagesAndClearsItsWorkFolder)
{
    const QString tagged = root() + "/Pictures/tagged.jpg";
    const QString bare = root() + "/Pictures/bare.jpg";
    writeText(tagged, jpegWith(tiffBlock({ascii(0x0110, "Tarnix Cam 7")}, {ascii(0x9004, "2026:12:10 20:15:00")},
                                         {rationals(0x0002, {{37, 1}, {30, 1}}), rationals(0x0004, {{122, 1}})})));
    writeText(bare, jpegWith({}));
    QDir().mkpath(drive());
    writeText(applicationFolder() + "/work/files.txt", (tagged + "\n" + bare).toUtf8());
    Backup backup(account(), applicationFolder() + "/work/error.rtf", "/", drive(), false);
    backup.setUploadLogFlag(false);
    ASSERT_EQ(backup.BackupData(applicationFolder() + "/work/files.txt"), 0);

    FinishRecorder recorder;
    ImageMDUploadController controller({account(), drive(), "/"}, shortWaits);
    controller.setDelegate(&recorder);
    controller.addImages({tagged, bare});
    controller.startToUpdateImageInfo();
    ASSERT_TRUE(waitUntil([&] { return recorder.finished == 1; }, 30000));
    EXPECT_TRUE(recorder.onMainThread);
    EXPECT_FALSE(controller.isIMDUpdationInProgress());
    EXPECT_TRUE(workFolders().isEmpty());

    QStringList stored;
    QDirIterator walk(drive(), {".txruvo-imd_*"}, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (walk.hasNext())
        stored << walk.next();
    ASSERT_EQ(stored.size(), 1) << "only the image that states something gets attributes";
    EXPECT_TRUE(stored.first().startsWith(drive() + root() + "/Pictures/")) << stored.first().toStdString();
    EXPECT_EQ(readText(stored.first()), "2026/12/10 20:15:00|37.5,122|Tarnix Cam 7");
}

TEST_F(ImageMDUploadControllerTest, AListedImageThatIsGoneStopsTheRunBeforeAnyUploadButTheDelegateHearsOfIt)
{
    const QString kept = root() + "/Pictures/kept.jpg";
    writeText(kept, jpegWith(tiffBlock({ascii(0x0110, "Tarnix Cam 7")}, {}, {})));
    Backup::Account noEngine = account();
    noEngine.executorPath = root() + "/no-engine";

    FinishRecorder recorder;
    ImageMDUploadController controller({noEngine, drive(), "/"}, shortWaits);
    controller.setDelegate(&recorder);
    controller.addImages({kept, root() + "/Pictures/gone.jpg", kept + "\n" + kept});
    controller.startToUpdateImageInfo();
    ASSERT_TRUE(waitUntil([&] { return recorder.finished == 1; }, 30000));
    EXPECT_EQ(recorder.renameQuestions, ImageMDUploadController::kRenameSearches);

    // The work folder stays for a look, closed to others; nothing was listed for upload.
    ASSERT_EQ(workFolders().size(), 1);
    const QString folder = userRoot() + '/' + workFolders().first();
    EXPECT_EQ(controller.workFolder(), folder);
    EXPECT_EQ(QFile(folder).permissions() & 0x0077, 0);
    EXPECT_EQ(QFile(folder + "/ImageList.txt").permissions() & 0x0077, 0);
    EXPECT_EQ(readText(folder + "/ImageList.txt"), (kept + "\n" + root() + "/Pictures/gone.jpg").toUtf8())
        << "a name with a line break is left out";
    EXPECT_FALSE(QFile::exists(folder + "/source.txt"));
    EXPECT_FALSE(QFile::exists(folder + "/MDUpdateInProgress.txt"));
}

TEST_F(ImageMDUploadControllerTest, RenamesTheDelegateReportsFindMovedImages)
{
    // The engine keeps a copy of the directive list it was given, then waits while told to.
    const QString engine = root() + "/engine.sh";
    writeText(engine, "#!/bin/sh\nfor a; do case \"$a\" in --files-from=*) cp \"${a#--files-from=}\" '" +
                          root().toUtf8() +
                          "/uploaded.txt';; esac; done\n"
                          "while [ -e '" +
                          root().toUtf8() + "/hold' ]; do sleep 0.05; done\n");
    writeText(root() + "/hold", "");
    QFile::setPermissions(engine, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    Backup::Account fake = account();
    fake.executorPath = engine;
    writeText(root() + "/New/a/photo.jpg", jpegWith(tiffBlock({ascii(0x0110, "Cam")}, {}, {})));

    struct RenameReporter : FinishRecorder
    {
        QString root;
        void checkforRenameInfo(ImageMDUploadController *controller) override
        {
            FinishRecorder::checkforRenameInfo(controller);
            controller->resolveForRenameFrom(root + "/Old", root + "/New");
            // A rename into its own old folder applies once, not again and again.
            controller->resolveForRenameFrom(root + "/New", root + "/New/sub");
        }
    } reporter;
    reporter.root = root();
    ImageMDUploadController controller({fake, drive(), "/"}, shortWaits);
    controller.setDelegate(&reporter);
    controller.addImages({root() + "/Old/a/photo.jpg"});
    ASSERT_TRUE(controller.startToUpdateImageInfo());
    controller.addImages({root() + "/later.jpg"});
    EXPECT_FALSE(controller.startToUpdateImageInfo()) << "one run at a time";
    QFile::remove(root() + "/hold");
    ASSERT_TRUE(waitUntil([&] { return reporter.finished == 1; }, 30000));
    EXPECT_EQ(reporter.renameQuestions, 1);
    EXPECT_EQ(readText(root() + "/uploaded.txt"), "--f=" + root().mid(1).toUtf8() + "/New/a/photo.jpg\n--a=|,|Cam");
}

}  // namespace
