#include "platform/ImageMetadataReader.h"

#include "support/ExifFixture.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <functional>

// The metadata reader against well-formed blocks in each container, and against
// crafted blocks whose offsets and counts point outside the bytes given.

namespace {

using namespace ExifFixture;

// Model, digitizing time, and a GPS position of 37 46' 29.64" by 122 25' 9.9".
const QList<Field> kFirst = {ascii(0x0110, "Tarnix Cam 7")};
const QList<Field> kExif = {{0x9000, 7, 4, "0232"}, ascii(0x9004, "2026:12:10 20:15:00")};
const QList<Field> kGps = {{0x0001, 2, 2, "N\0"},
                           rationals(0x0002, {{37, 1}, {46, 1}, {2964, 100}}),
                           rationals(0x0004, {{122, 1}, {25, 1}, {99, 10}})};

std::optional<ImageCaptureFacts> readBytes(const QByteArray &bytes, QString *error = nullptr)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return ImageMetadataReader::read(buffer, error);
}

TEST(ImageMetadataReader, ReadsTheFactsFromEachContainer)
{
    const QByteArray block = tiffBlock(kFirst, kExif, kGps);
    const std::pair<const char *, QByteArray> containers[] = {
        {"jpeg", inJpeg(block)}, {"png", inPng(block)}, {"tiff", block}};
    for (const auto &[kind, bytes] : containers) {
        SCOPED_TRACE(kind);
        QString error;
        const std::optional<ImageCaptureFacts> facts = readBytes(bytes, &error);
        ASSERT_TRUE(facts) << error.toStdString();
        EXPECT_EQ(facts->model, "Tarnix Cam 7");
        EXPECT_EQ(facts->digitizedTime, "2026:12:10 20:15:00");
        ASSERT_TRUE(facts->latitude && facts->longitude);
        EXPECT_DOUBLE_EQ(*facts->latitude, 37 + 46 / 60.0 + 29.64 / 3600);
        EXPECT_DOUBLE_EQ(*facts->longitude, 122 + 25 / 60.0 + 9.9 / 3600);
    }
}

TEST(ImageMetadataReader, MissingOrOddFactsAreLeftOutNotRefused)
{
    const struct
    {
        const char *name;
        QByteArray bytes;
        bool model, time, latitude, longitude;
    } cases[] = {
        {"no metadata block", inJpeg({}).replace("\xFF\xE1", "\xFF\xE2"), false, false, false, false},
        {"not an image", "just some text", false, false, false, false},
        {"empty file", {}, false, false, false, false},
        {"model only", tiffBlock(kFirst, {}, {}), true, false, false, false},
        {"model as a number", tiffBlock({{0x0110, 3, 1, le16(7)}}, kExif, {}), true, true, false, false},
        {"zero denominator", tiffBlock({}, {}, {rationals(0x0002, {{37, 0}}), kGps[2]}), false, false, false, true},
        {"unknown field type", tiffBlock({{0x0110, 99, 1000000, "abcd"}}, {}, {}), true, false, false, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QString error;
        const std::optional<ImageCaptureFacts> facts = readBytes(c.bytes, &error);
        ASSERT_TRUE(facts) << error.toStdString();
        EXPECT_EQ(facts->model.has_value(), c.model);
        EXPECT_EQ(facts->digitizedTime.has_value(), c.time);
        EXPECT_EQ(facts->latitude.has_value(), c.latitude);
        EXPECT_EQ(facts->longitude.has_value(), c.longitude);
    }
    // A model of another type than text is an empty model.
    EXPECT_EQ(readBytes(tiffBlock({{0x0110, 3, 1, le16(7)}}, {}, {}))->model, QString());
}

TEST(ImageMetadataReader, RefusesBlocksThatPointOutsideThemselves)
{
    const QByteArray good = tiffBlock(kFirst, kExif, kGps);
    // Offsets in the first directory (at 8): its entries start at 10, 12 bytes
    // each: the model (count at 14, offset at 18), the Exif pointer (value at
    // 30) and the GPS pointer (value at 42).
    auto patched = [&good](int at, const QByteArray &bytes) {
        return QByteArray(good).replace(at, bytes.size(), bytes);
    };
    const struct
    {
        const char *name;
        QByteArray block;
    } tiffCases[] = {
        {"cut inside the header", good.left(7)},
        {"first directory past the end", patched(4, le32(0xFFFFFFF0))},
        {"first directory at the last byte", patched(4, le32(quint32(good.size() - 1)))},
        {"more entries than bytes", patched(8, le16(0xFFFF))},
        {"model longer than the block", patched(14, le32(0xFFFFFFFF))},
        {"model past the end", patched(18, le32(quint32(good.size() + 10)))},
        {"model offset wrapping around", patched(18, le32(0xFFFFFFFE))},
        {"Exif directory past the end", patched(30, le32(0x7FFFFFFF))},
        {"GPS directory at the last byte", patched(42, le32(quint32(good.size() - 1)))},
        {"GPS position cut off", good.left(good.size() - 3)},
    };
    for (const auto &c : tiffCases) {
        const std::pair<const char *, QByteArray> containers[] = {{"jpeg", inJpeg(c.block)}, {"tiff", c.block}};
        for (const auto &[kind, bytes] : containers) {
            SCOPED_TRACE(std::string(c.name) + " in " + kind);
            QString error;
            EXPECT_FALSE(readBytes(bytes, &error));
            EXPECT_FALSE(error.isEmpty());
        }
    }

    const QByteArray jpeg = inJpeg(good);
    QByteArray longSegment = jpeg;
    longSegment.replace(10, 4, QByteArray("\xFF\xE1\xFF\xFF", 4));
    QByteArray shortSegment = jpeg;
    shortSegment.replace(10, 4, QByteArray("\xFF\xE1\x00\x01", 4));
    QByteArray png = inPng(good);
    png.replace(33, 4, be32(0x7FFFFFF0));
    const struct
    {
        const char *name;
        QByteArray bytes;
    } containerCases[] = {
        {"jpeg Exif block without a TIFF header", inJpeg(patched(0, "XX*"))},
        {"jpeg segment past the end", longSegment},
        {"jpeg segment shorter than its length field", shortSegment},
        {"jpeg without markers", QByteArray("\xFF\xD8"
                                            "abcdef")},
        {"png chunk past the end", png},
        {"png chunk length over 2^31", QByteArray(png).replace(33, 4, be32(0xFFFFFFFF))},
    };
    for (const auto &c : containerCases) {
        SCOPED_TRACE(c.name);
        QString error;
        EXPECT_FALSE(readBytes(c.bytes, &error));
        EXPECT_FALSE(error.isEmpty());
    }
}

TEST(ImageMetadataReader, OpensOnlyPlainFiles)
{
    QTemporaryDir dir;
    QFile file(dir.filePath("photo.jpg"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(inJpeg(tiffBlock(kFirst, {}, {})));
    file.close();
    EXPECT_EQ(ImageMetadataReader::read(file.fileName())->model, "Tarnix Cam 7");

    QString error;
    EXPECT_FALSE(ImageMetadataReader::read(dir.path(), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(ImageMetadataReader::read(dir.filePath("missing.jpg")));
}

}  // namespace
