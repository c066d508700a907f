#include "session/imagemetadata/ImageProperties.h"

#include "support/ExifFixture.h"
#include "support/SandboxFixture.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>

#include <gtest/gtest.h>

// The capture facts of an image in the text forms of the metadata directives.

namespace {

using namespace ExifFixture;
using ImagePropertiesTest = SandboxFixture;

QByteArray jpegOf(const QImage &image)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "jpeg");
    return buffer.data();
}

TEST(ImageProperties, DigitizingTimeTakesSlashesInTheDateAndNeedsTwoParts)
{
    const std::pair<QString, QString> cases[] = {
        {"2026:12:10 20:15:00", "2026/12/10 20:15:00"},
        {"2026:12:10", ""},
        {"", ""},
        {"2026:12:10 20:15:00 extra", "2026/12/10 20:15:00"},
        {"2026:12:10  20:15:00", "2026/12/10 "},  // the second part of a double blank is empty
    };
    for (const auto &[exif, expected] : cases)
        EXPECT_EQ(ImageProperties::convertToAuthDateFormat(exif), expected) << exif.toStdString();
}

TEST_F(ImagePropertiesTest, ReadsTheFactsOfARealJpegThatStaysReadableAsAnImage)
{
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(Qt::blue);
    const QByteArray tiff = tiffBlock({ascii(0x0110, "Tarnix Cam 7")}, {ascii(0x9004, "2026:12:10 20:15:00")},
                                      {rationals(0x0002, {{37, 1}, {30, 1}, {0, 1}}), rationals(0x0004, {{122, 1}})});
    const QString path = root() + "/photo.jpg";
    writeText(path, withExif(jpegOf(image), tiff));

    const ImageCaptureInfo info = ImageProperties::captureInfo(path);
    EXPECT_EQ(info.digitizedTime, "2026/12/10 20:15:00");
    EXPECT_EQ(info.latitude, "37.5");
    EXPECT_EQ(info.longitude, "122");
    EXPECT_EQ(info.model, "Tarnix Cam 7");
    EXPECT_EQ(QImageReader(path).size(), QSize(64, 48));

    writeText(root() + "/plain.jpg", jpegOf(image));
    writeText(root() + "/broken.jpg", withExif(jpegOf(image), tiff.left(20)));
    for (const char *name : {"plain.jpg", "broken.jpg", "missing.jpg"})
        EXPECT_TRUE(ImageProperties::captureInfo(root() + '/' + name).isEmpty()) << name;
}

}  // namespace
