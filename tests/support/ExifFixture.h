#pragma once

#include <QByteArray>
#include <QList>
#include <QtEndian>

#include <initializer_list>
#include <utility>

// Builds image metadata blocks (TIFF structures) and wraps them in JPEG and
// PNG files, so that tests can make well-formed and crafted bad inputs.
namespace ExifFixture {

struct Field
{
    quint16 tag;
    quint16 type;
    quint32 count;
    QByteArray value;  // little-endian bytes
};

inline QByteArray le16(quint16 v)
{
    QByteArray b(2, '\0');
    qToLittleEndian(v, b.data());
    return b;
}
inline QByteArray le32(quint32 v)
{
    QByteArray b(4, '\0');
    qToLittleEndian(v, b.data());
    return b;
}
inline QByteArray be16(quint16 v)
{
    QByteArray b(2, '\0');
    qToBigEndian(v, b.data());
    return b;
}
inline QByteArray be32(quint32 v)
{
    QByteArray b(4, '\0');
    qToBigEndian(v, b.data());
    return b;
}

inline Field ascii(quint16 tag, const QByteArray &text) { return {tag, 2, quint32(text.size() + 1), text + '\0'}; }
inline Field rationals(quint16 tag, std::initializer_list<std::pair<quint32, quint32>> parts)
{
    QByteArray bytes;
    for (const auto &[numerator, denominator] : parts)
        bytes += le32(numerator) + le32(denominator);
    return {tag, 5, quint32(parts.size()), bytes};
}

// A little-endian TIFF block: header, the first directory (with pointers to
// the Exif and GPS directories when given), those directories, then the values
// that do not fit their entries, in order.
inline QByteArray tiffBlock(QList<Field> first, const QList<Field> &exif, const QList<Field> &gps)
{
    auto directorySize = [](qsizetype n) { return 2 + 12 * n + 4; };
    const qsizetype firstCount = first.size() + (exif.isEmpty() ? 0 : 1) + (gps.isEmpty() ? 0 : 1);
    const quint32 exifAt = 8 + directorySize(firstCount);
    const quint32 gpsAt = exifAt + (exif.isEmpty() ? 0 : directorySize(exif.size()));
    quint32 dataAt = gpsAt + (gps.isEmpty() ? 0 : directorySize(gps.size()));
    if (!exif.isEmpty())
        first.append({0x8769, 4, 1, le32(exifAt)});
    if (!gps.isEmpty())
        first.append({0x8825, 4, 1, le32(gpsAt)});

    QByteArray data;
    auto directory = [&](const QList<Field> &fields) {
        QByteArray bytes = le16(quint16(fields.size()));
        for (const Field &field : fields) {
            bytes += le16(field.tag) + le16(field.type) + le32(field.count);
            if (field.value.size() <= 4) {
                bytes += field.value.leftJustified(4, '\0');
            } else {
                bytes += le32(dataAt + quint32(data.size()));
                data += field.value;
            }
        }
        return bytes + le32(0);
    };
    QByteArray block = QByteArray("II*\0", 4) + le32(8) + directory(first);
    if (!exif.isEmpty())
        block += directory(exif);
    if (!gps.isEmpty())
        block += directory(gps);
    return block + data;
}

inline QByteArray inJpeg(const QByteArray &tiff)
{
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
    return QByteArray("\xFF\xD8\xFF\xE0", 4) + be16(6) + "JFIF" + "\xFF\xE1" + be16(quint16(payload.size() + 2)) +
           payload + "\xFF\xDA" + be16(2) + "image data" + "\xFF\xD9";
}

inline QByteArray inPng(const QByteArray &tiff)
{
    const QByteArray header = be32(13) + "IHDR" + QByteArray(13, '\1') + be32(0);
    return QByteArray("\x89PNG\r\n\x1A\n", 8) + header + be32(quint32(tiff.size())) + "eXIf" + tiff + be32(0) +
           be32(0) + "IEND" + be32(0);
}

// A real JPEG (as a writer made it) with the block put in right after its start marker.
inline QByteArray withExif(const QByteArray &jpeg, const QByteArray &tiff)
{
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
    return jpeg.left(2) + "\xFF\xE1" + be16(quint16(payload.size() + 2)) + payload + jpeg.mid(2);
}

}  // namespace ExifFixture
