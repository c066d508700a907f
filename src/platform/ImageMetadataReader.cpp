#include "platform/ImageMetadataReader.h"

#include "platform/ErrorSlot.h"

#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QtEndian>

namespace ImageMetadataReader {
namespace {

// Tags of the first image directory, of the Exif and of the GPS directory.
constexpr quint16 kModelTag = 0x0110;
constexpr quint16 kExifDirectoryTag = 0x8769;
constexpr quint16 kGpsDirectoryTag = 0x8825;
constexpr quint16 kDigitizedTimeTag = 0x9004;
constexpr quint16 kLatitudeTag = 0x0002;
constexpr quint16 kLongitudeTag = 0x0004;

// Field types used here.
constexpr quint16 kAsciiType = 2;
constexpr quint16 kLongType = 4;
constexpr quint16 kRationalType = 5;
constexpr quint16 kDirectoryType = 13;

constexpr quint64 kEntrySize = 12;

const QByteArray kLittleEndianMark("II*\0", 4);
const QByteArray kBigEndianMark("MM\0*", 4);

quint64 typeSize(quint16 type)
{
    switch (type) {
    case 1:
    case 2:
    case 6:
    case 7:
        return 1;  // byte, ascii, signed byte, undefined
    case 3:
    case 8:
        return 2;  // short, signed short
    case 4:
    case 9:
    case 11:
    case 13:
        return 4;  // long, signed long, float, directory
    case 5:
    case 10:
    case 12:
        return 8;  // rational, signed rational, double
    default:
        return 0;  // unknown: the entry is passed over
    }
}

struct Entry
{
    quint16 tag = 0;
    quint16 type = 0;
    quint32 count = 0;
    QByteArray field;  // the four value bytes: the value itself or its offset
};

// The TIFF structure that holds the facts: a whole TIFF file, or the block
// inside a JPEG or PNG file. Offsets in it count from its start; nothing
// outside [start, start + length) of the device is ever read.
class TiffBlock
{
public:
    TiffBlock(QIODevice &device, qint64 start, qint64 length)
        : mDevice(device)
        , mStart(start)
        , mLength(length)
    {}

    std::optional<ImageCaptureFacts> read(QString *error)
    {
        QByteArray header;
        if (!bytesAt(0, 8, header))
            return refuse(error, QStringLiteral("the metadata block is too short"));
        if (header.startsWith(kLittleEndianMark)) {
            mLittleEndian = true;
        } else if (header.startsWith(kBigEndianMark)) {
            mLittleEndian = false;
        } else {
            return refuse(error, QStringLiteral("the metadata block has no TIFF header"));
        }
        QList<Entry> first;
        if (!readDirectory(u32(header.constData() + 4), first))
            return refuse(error, QStringLiteral("the first image directory lies outside the metadata block"));

        ImageCaptureFacts facts;
        for (const Entry &entry : std::as_const(first)) {
            if (entry.tag == kModelTag && !(facts.model = text(entry)))
                return refuse(error, QStringLiteral("the camera model lies outside the metadata block"));
        }
        if (const Entry *exif = find(first, kExifDirectoryTag)) {
            QList<Entry> entries;
            if (!pointedDirectory(*exif, entries))
                return refuse(error, QStringLiteral("the Exif directory lies outside the metadata block"));
            if (const Entry *time = find(entries, kDigitizedTimeTag); time && !(facts.digitizedTime = text(*time)))
                return refuse(error, QStringLiteral("the digitizing time lies outside the metadata block"));
        }
        if (const Entry *gps = find(first, kGpsDirectoryTag)) {
            QList<Entry> entries;
            if (!pointedDirectory(*gps, entries))
                return refuse(error, QStringLiteral("the GPS directory lies outside the metadata block"));
            bool inside = true;
            if (const Entry *latitude = find(entries, kLatitudeTag))
                facts.latitude = degrees(*latitude, inside);
            if (const Entry *longitude = find(entries, kLongitudeTag))
                facts.longitude = degrees(*longitude, inside);
            if (!inside)
                return refuse(error, QStringLiteral("the GPS position lies outside the metadata block"));
        }
        return facts;
    }

private:
    static std::nullopt_t refuse(QString *error, const QString &reason)
    {
        ErrorSlot::fill(error, reason);
        return std::nullopt;
    }

    static const Entry *find(const QList<Entry> &entries, quint16 tag)
    {
        for (const Entry &entry : entries) {
            if (entry.tag == tag)
                return &entry;
        }
        return nullptr;
    }

    quint16 u16(const char *bytes) const
    {
        return mLittleEndian ? qFromLittleEndian<quint16>(bytes) : qFromBigEndian<quint16>(bytes);
    }
    quint32 u32(const char *bytes) const
    {
        return mLittleEndian ? qFromLittleEndian<quint32>(bytes) : qFromBigEndian<quint32>(bytes);
    }

    bool bytesAt(quint64 offset, quint64 size, QByteArray &out)
    {
        if (offset > quint64(mLength) || size > quint64(mLength) - offset)
            return false;
        if (!mDevice.seek(mStart + qint64(offset)))
            return false;
        out = mDevice.read(qint64(size));
        return out.size() == qint64(size);
    }

    bool readDirectory(quint32 offset, QList<Entry> &entries)
    {
        QByteArray countBytes;
        if (!bytesAt(offset, 2, countBytes))
            return false;
        const quint16 count = u16(countBytes.constData());
        QByteArray table;
        if (!bytesAt(quint64(offset) + 2, quint64(count) * kEntrySize, table))
            return false;
        for (quint16 i = 0; i < count; ++i) {
            const char *raw = table.constData() + i * kEntrySize;
            entries.append({u16(raw), u16(raw + 2), u32(raw + 4), QByteArray(raw + 8, 4)});
        }
        return true;
    }

    // The directory a pointer entry names; a pointer of another form is no directory.
    bool pointedDirectory(const Entry &pointer, QList<Entry> &entries)
    {
        if ((pointer.type != kLongType && pointer.type != kDirectoryType) || pointer.count != 1)
            return true;
        return readDirectory(u32(pointer.field.constData()), entries);
    }

    // The value bytes of an entry; false when they lie outside the block.
    bool valueOf(const Entry &entry, QByteArray &out)
    {
        const quint64 size = typeSize(entry.type) * entry.count;
        if (size <= 4) {
            out = entry.field.left(qsizetype(size));
            return true;
        }
        return bytesAt(u32(entry.field.constData()), size, out);
    }

    // An ASCII fact up to its first NUL; an entry of another type is an empty
    // fact. None only when its bytes lie outside the block.
    std::optional<QString> text(const Entry &entry)
    {
        if (entry.type != kAsciiType)
            return QString();
        QByteArray bytes;
        if (!valueOf(entry, bytes))
            return std::nullopt;
        const qsizetype end = bytes.indexOf('\0');
        return QString::fromUtf8(end < 0 ? bytes : bytes.left(end));
    }

    // Degrees, minutes and seconds added up; no value for another type or a zero denominator.
    std::optional<double> degrees(const Entry &entry, bool &inside)
    {
        if (entry.type != kRationalType || entry.count == 0 || entry.count > 3)
            return std::nullopt;
        QByteArray bytes;
        if (!valueOf(entry, bytes)) {
            inside = false;
            return std::nullopt;
        }
        double sum = 0;
        double unit = 1;
        for (quint32 i = 0; i < entry.count; ++i, unit *= 60) {
            const quint32 numerator = u32(bytes.constData() + i * 8);
            const quint32 denominator = u32(bytes.constData() + i * 8 + 4);
            if (denominator == 0)
                return std::nullopt;
            sum += double(numerator) / double(denominator) / unit;
        }
        return sum;
    }

    QIODevice &mDevice;
    qint64 mStart;
    qint64 mLength;
    bool mLittleEndian = true;
};

// Where the TIFF block of a JPEG file lies: its APP1 "Exif" segment before the image data.
std::optional<std::pair<qint64, qint64>> jpegExifBlock(QIODevice &device, bool &malformed)
{
    const qint64 size = device.size();
    qint64 position = 2;
    while (position + 4 <= size) {
        device.seek(position);
        const QByteArray marker = device.read(4);
        if (marker.size() < 4 || quint8(marker[0]) != 0xFF) {
            malformed = true;
            return std::nullopt;
        }
        const quint8 kind = quint8(marker[1]);
        if (kind == 0xFF) {  // fill byte
            ++position;
            continue;
        }
        if (kind == 0xDA || kind == 0xD9)  // image data or end: no metadata before it
            return std::nullopt;
        if (kind == 0x01 || (kind >= 0xD0 && kind <= 0xD7)) {  // markers without a length
            position += 2;
            continue;
        }
        const qint64 length = qFromBigEndian<quint16>(marker.constData() + 2);
        if (length < 2 || position + 2 + length > size) {
            malformed = true;
            return std::nullopt;
        }
        if (kind == 0xE1 && length >= 8 && device.read(6) == QByteArray("Exif\0\0", 6))
            return std::make_pair(position + 10, length - 8);
        position += 2 + length;
    }
    return std::nullopt;
}

// Where the TIFF block of a PNG file lies: its "eXIf" chunk.
std::optional<std::pair<qint64, qint64>> pngExifBlock(QIODevice &device, bool &malformed)
{
    const qint64 size = device.size();
    qint64 position = 8;
    while (position + 12 <= size) {
        device.seek(position);
        const QByteArray header = device.read(8);
        const qint64 length = header.size() == 8 ? qFromBigEndian<quint32>(header.constData()) : -1;
        if (length < 0 || length > 0x7FFFFFFF || position + 12 + length > size) {
            malformed = true;
            return std::nullopt;
        }
        const QByteArray type = header.mid(4);
        if (type == "eXIf")
            return std::make_pair(position + 8, length);
        if (type == "IEND")
            return std::nullopt;
        position += 12 + length;
    }
    return std::nullopt;
}

}  // namespace

std::optional<ImageCaptureFacts> read(QIODevice &device, QString *error)
{
    if (!device.isOpen() || device.isSequential()) {
        ErrorSlot::fill(error, QStringLiteral("the image cannot be read at random"));
        return std::nullopt;
    }
    device.seek(0);
    const QByteArray signature = device.read(8);
    std::optional<std::pair<qint64, qint64>> block;
    bool malformed = false;
    if (signature.startsWith("\xFF\xD8"))
        block = jpegExifBlock(device, malformed);
    else if (signature == QByteArray("\x89PNG\r\n\x1A\n", 8))
        block = pngExifBlock(device, malformed);
    else if (signature.startsWith(kLittleEndianMark) || signature.startsWith(kBigEndianMark))
        block = std::make_pair(qint64(0), device.size());
    if (malformed) {
        ErrorSlot::fill(error, QStringLiteral("the image's segments run past its end"));
        return std::nullopt;
    }
    if (!block)
        return ImageCaptureFacts{};
    return TiffBlock(device, block->first, block->second).read(error);
}

std::optional<ImageCaptureFacts> read(const QString &path, QString *error)
{
    // Only plain files are opened: opening a pipe or a device could block or never end.
    if (!QFileInfo(path).isFile()) {
        ErrorSlot::fill(error, QStringLiteral("%1 is not a file").arg(path));
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ErrorSlot::fill(error, QStringLiteral("cannot open %1: %2").arg(path, file.errorString()));
        return std::nullopt;
    }
    return read(file, error);
}

}  // namespace ImageMetadataReader
