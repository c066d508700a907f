#include "session/thumbnails/ThumbnailGenerator.h"

#include "support/SandboxFixture.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QtEndian>

#include <gtest/gtest.h>

// Thumbnails of each image kind the backup knows, made with Qt's readers
// into a private mirror of the image's folder.

namespace {

QImage landscape(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    QPainter painter(&image);
    painter.fillRect(0, 0, width / 10, height, Qt::red);  // a square cut from the middle loses this edge
    return image;
}

// An uncompressed true-colour TGA 2.0 (Qt reads TGA but does not write it).
QByteArray tga(const QImage &image)
{
    QByteArray bytes(18, '\0');
    bytes[2] = 2;
    qToLittleEndian<quint16>(quint16(image.width()), bytes.data() + 12);
    qToLittleEndian<quint16>(quint16(image.height()), bytes.data() + 14);
    bytes[16] = 24;
    bytes[17] = 0x20;  // rows from the top
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            bytes += char(qBlue(pixel));
            bytes += char(qGreen(pixel));
            bytes += char(qRed(pixel));
        }
    }
    return bytes + QByteArray(8, '\0') + QByteArray("TRUEVISION-XFILE.\0", 18);
}

// The smallest GIF: one pixel (Qt reads GIF but does not write it).
const QByteArray kOnePixelGif("GIF89a\x01\x00\x01\x00\x80\x00\x00\x00\x00\x00\xff\xff\xff!\xf9\x04\x01\x00\x00\x00\x00"
                              ",\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02"
                              "D\x01\x00;",
                              43);

bool openToOthers(const QString &path)
{
    const QFile::Permissions others =
        QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    return (QFile(path).permissions() & others) != 0;
}

class ThumbnailGeneratorTest : public SandboxFixture
{
protected:
    QString thumbnails() const { return root() + "/Thumbs_1"; }

    // Writes the fixture image of the extension; empty when Qt cannot read that kind here.
    QString fixture(const QString &extension, const QImage &image)
    {
        const QString path = root() + "/Pictures/photo." + extension;
        QDir().mkpath(root() + "/Pictures");
        const QByteArray format = extension == "gif"                                              ? "gif"
                                  : extension == "tga"                                            ? "tga"
                                  : QStringList{"jpg", "jpeg", "jpe", "jfif"}.contains(extension) ? "jpeg"
                                  : QStringList{"bmp", "dib", "rle"}.contains(extension)          ? "bmp"
                                  : QStringList{"tif", "tiff"}.contains(extension)                ? "tiff"
                                                                                   : extension.toLatin1();
        if (!QImageReader::supportedImageFormats().contains(format))
            return {};
        if (format == "gif") {
            writeText(path, kOnePixelGif);
        } else if (format == "tga") {
            writeText(path, tga(image));
        } else {
            QImageWriter writer(path, format);
            if (!writer.write(image))
                return {};
        }
        return path;
    }

    static QSize sizeOf(const QString &path)
    {
        QImageReader reader(path);
        EXPECT_EQ(reader.format(), "jpeg") << path.toStdString();
        return reader.size();
    }
};

TEST_F(ThumbnailGeneratorTest, ThreeThumbnailsOfEachImageKind)
{
    const QStringList kinds = {"tif",  "tiff", "bmp",  "dib", "rle", "gif", "jpg",
                               "jpeg", "jpe",  "jfif", "png", "jp2", "psd", "tga"};
    QStringList unreadable;
    for (const QString &extension : kinds) {
        SCOPED_TRACE(extension.toStdString());
        const bool small = extension == "tga";
        const QString image = fixture(extension, small ? landscape(300, 200) : landscape(1600, 1200));
        if (image.isEmpty()) {
            unreadable << extension;
            continue;
        }
        ThumbnailGenerator generator(thumbnails(), {std::chrono::milliseconds(0)});
        ASSERT_TRUE(QDir().mkpath(thumbnails()));
        ASSERT_TRUE(generator.makeThumbnails(image));
        const QString mirror = thumbnails() + root() + "/Pictures/photo." + extension;
        const QSize large = sizeOf(mirror + "_THINT");
        const QSize squareSmall = sizeOf(mirror + "_THSML");
        const QSize squareTiny = sizeOf(mirror + "_THTIN");
        if (extension == "gif") {  // one pixel: nothing to crop or shrink
            EXPECT_EQ(large, QSize(1, 1));
            EXPECT_EQ(squareSmall, QSize(1, 1));
            continue;
        }
        EXPECT_EQ(large, small ? QSize(300, 200) : QSize(1280, 960));
        EXPECT_EQ(squareSmall, QSize(135, 135));
        EXPECT_EQ(squareTiny, QSize(40, 40));
        // The square is cut from the middle: the red left edge is gone.
        const QImage tiny(mirror + "_THTIN");
        EXPECT_LT(qRed(tiny.pixel(0, 20)), 100);
        EXPECT_FALSE(openToOthers(mirror + "_THSML")) << "thumbnails are the user's alone";
    }
    if (!unreadable.isEmpty())
        std::cout << "[ SKIPPED  ] no Qt image reader here for: " << unreadable.join(", ").toStdString() << "\n";
    EXPECT_LE(unreadable.size(), 2) << unreadable.join(", ").toStdString();
}

TEST_F(ThumbnailGeneratorTest, ImagesSmallerThanAThumbnailAreNeitherEnlargedNorCut)
{
    // 100x30: too narrow for a 135 or a 40 square, so nothing is cut; only _THTIN must shrink.
    const QImage picture = landscape(100, 30);
    const QSize expected[] = {QSize(100, 30), QSize(100, 30), QSize(40, 12)};
    for (qsizetype i = 0; i < ThumbnailGenerator::kinds().size(); ++i) {
        const ThumbnailKind &kind = ThumbnailGenerator::kinds()[i];
        SCOPED_TRACE(kind.suffix.toStdString());
        const QString target = root() + "/thumb" + kind.suffix;
        ASSERT_TRUE(ThumbnailGenerator::writeThumbnail(picture, kind, target));
        EXPECT_EQ(sizeOf(target), expected[i]);
    }
}

TEST_F(ThumbnailGeneratorTest, StartWorksThroughEveryListAndKeepsTheFolderPrivate)
{
    const QString image = fixture("png", landscape(400, 300));
    ASSERT_FALSE(image.isEmpty());
    // A list an interrupted run left behind is finished too.
    ASSERT_TRUE(QDir().mkpath(thumbnails()));
    writeText(thumbnails() + "/source_0.qlthmtxt",
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?><plist version=\"1.0\"><array><string>" + image.toUtf8() +
                  "</string></array></plist>");
    writeText(root() + "/Pictures/notes.txt", "not an image");

    ThumbnailGenerator generator(thumbnails(), {std::chrono::milliseconds(0)});
    generator.addImages({root() + "/Pictures/gone.png", root() + "/Pictures/notes.txt"});
    ASSERT_TRUE(generator.start());

    EXPECT_TRUE(QDir(thumbnails()).entryList({"source_*"}, QDir::Files).isEmpty());
    EXPECT_EQ(sizeOf(thumbnails() + image + "_THINT"), QSize(400, 300));
    EXPECT_FALSE(QFile::exists(thumbnails() + root() + "/Pictures/gone.png_THINT"));
    EXPECT_FALSE(QFile::exists(thumbnails() + root() + "/Pictures/notes.txt_THINT"));
    EXPECT_FALSE(openToOthers(thumbnails()));
}

}  // namespace
