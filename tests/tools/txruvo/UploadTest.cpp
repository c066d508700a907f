#include "EngineHarness.h"

#include <QFile>

// The session uploader's runs: thumbnails beside their image, session logs in
// the log folder, image attributes beside their image, and the rsync-style
// vector this engine does not serve.

namespace {

class UploadTest : public EngineHarness
{
protected:
    // The uploader's storage-engine vector: one option of its flags, the
    // source root unless it is an image-metadata run.
    QStringList uploadVector(const QString &option, const QString &sourceRoot) const
    {
        const QString o = operation();
        QStringList vector = {engine(),     "--encode",  "--no-versions", "--portable-dest=" + drive(),
                              "--portable", "--enc-opt", option};
        if (!sourceRoot.isEmpty())
            vector << "--relative"
                   << "--add-progress";
        vector << "--timeout=120"
               << "--port=443"
               << "--password-file=" + o + "/password"
               << "--o=" + o + "/OutData_0.txt"
               << "--e=" + o + "/ErrorData_0.txt"
               << "--proxy="
               << "--temp=" + o << "--files-from=" + o + "/SourceA";
        if (!sourceRoot.isEmpty())
            vector << sourceRoot;
        return vector << "alice@10.0.0.1::home" + drive();
    }

    // Backs up one local file as a session does.
    void backUp(const QString &path, const QByteArray &content)
    {
        writeText(path, content);
        writeList({path});
        ASSERT_EQ(run(backupVector()).exitCode, 0);
    }
};

TEST_F(UploadTest, ThumbnailsAreStoredBesideTheirImageWithTheirOwnMarkers)
{
    const QString image = source("/Pictures/a.jpg");
    backUp(image, "jpeg");
    const QString thumbs = root() + "/Thumbs_1";
    writeText(thumbs + image + "_THINT", "large");
    writeText(thumbs + image + "_THTIN", "tiny");
    writeText(thumbs + source("/Pictures/notes.txt"), "text");
    writeList({image + "_THINT", image + "_THTIN", source("/Pictures/notes.txt")});

    const Run upload = run(uploadVector("--thumbnail", thumbs + "/"));
    EXPECT_EQ(upload.exitCode, 0);
    EXPECT_EQ(stored(drive() + image + "_THINT"), "large");
    EXPECT_EQ(stored(drive() + image + "_THTIN"), "tiny");
    EXPECT_TRUE(QFile::exists(drive() + image + "_THINT_.chk"));
    EXPECT_FALSE(QFile::exists(drive() + image + "_THINT_.usr")) << "a thumbnail is not a user's file";
    EXPECT_EQ(upload.errors,
              "IOERROR: [" + source("/Pictures/notes.txt") + "], : Operation not permitted (not a thumbnail)\n");
    EXPECT_FALSE(QFile::exists(drive() + source("/Pictures/notes.txt")));
}

TEST_F(UploadTest, SessionLogsGoToTheLogFolderOfTheComputerFolder)
{
    const QString log = source("/Logs/12-10-2026.xml");
    writeText(log, "<records/>");
    writeList({log});
    const Run upload = run(uploadVector("--backup-log", "/"));
    EXPECT_EQ(upload.exitCode, 0) << qPrintable(upload.errors);
    EXPECT_EQ(stored(drive() + "/.txruvo-logs" + log), "<records/>");
    EXPECT_FALSE(QFile::exists(drive() + log)) << "a log is no backed-up item";
}

TEST_F(UploadTest, ImageAttributesAreKeptBesideStoredImagesOnly)
{
    const QString image = source("/Pictures/b c.jpg");
    backUp(image, "jpeg");
    writeList({"--f=" + image.mid(1), "--a=2014/05/06 10:11:12|,|Cam", "--f=" + source("/Pictures/gone.jpg"), "--a=|,|",
               "--a=stray", "--f=" + image});
    const Run upload = run(uploadVector("--attrib-ornt2", QString()));
    EXPECT_EQ(upload.exitCode, 0);
    EXPECT_EQ(stored(drive() + source("/Pictures/.txruvo-imd_b c.jpg")), "2014/05/06 10:11:12|,|Cam");
    EXPECT_EQ(upload.errors,
              "IOERROR: [" + source("/Pictures/gone.jpg") +
                  "], : No such file or directory (not a stored item)\n"
                  "IOERROR: [--a=stray], : Operation not permitted (not a file directive and its attributes)\n"
                  "IOERROR: [" +
                  image + "], : Operation not permitted (no attributes given)\n");
}

TEST_F(UploadTest, DeletingAnItemTakesItsThumbnailsAndAttributes)
{
    const QString image = source("/Pictures/a.jpg");
    backUp(image, "jpeg");
    writeText(drive() + image + "_THSML", "small");
    writeText(drive() + source("/Pictures/.txruvo-imd_a.jpg"), "|,|Cam");
    const QString o = operation();
    const QString folderId = QString::fromUtf8(stored(drive() + source("/Pictures/.txruvo-folder_.chk")))
                                 .section('\n', 0, 0)  // "folder_id=<id>" comes first
                                 .section('=', 1);
    writeList({"/" + folderId + "/" + QString::fromLatin1(QByteArray("a.jpg").toHex())});
    const Run deletion =
        run({engine(), "--delete-items", "--portable-dest=" + userRoot(), "--files-from=" + o + "/SourceA",
             "--password-file=" + o + "/password", "alice@10.0.0.1::home" + drive()});
    EXPECT_EQ(deletion.exitCode, 0) << deletion.stdErr.toStdString();
    EXPECT_FALSE(QFile::exists(drive() + image));
    EXPECT_FALSE(QFile::exists(drive() + image + "_THSML"));
    EXPECT_FALSE(QFile::exists(drive() + source("/Pictures/.txruvo-imd_a.jpg")));
}

TEST_F(UploadTest, TheRsyncStyleVectorIsRefused)
{
    writeList({source("/a")});
    const Run upload =
        run({engine(), "--relative", "-z", "--compress", "-v", "-t", "--inplace", "--bwlimit=32765", "--timeout=900",
             "--port=873", "--errlog-from=" + operation() + "/error.rtf", "--progress", "--block-size=30720",
             "--files-from=" + operation() + "/SourceA", "/", "alice@localhost::home" + drive()});
    EXPECT_EQ(upload.exitCode, 1);
    EXPECT_EQ(upload.stdErr, "txruvo error: --inplace is not supported by this engine\n");
}

}  // namespace
