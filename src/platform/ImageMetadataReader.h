#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

class QIODevice;

// The capture facts an image file states about itself, as far as they are there.
struct ImageCaptureFacts
{
    // The Exif digitizing time as the file writes it ("2026:12:10 20:15:00").
    std::optional<QString> digitizedTime;
    // GPS position in degrees (degrees, minutes and seconds added up); the
    // hemisphere references are not applied.
    std::optional<double> latitude;
    std::optional<double> longitude;
    // The camera model of the first image.
    std::optional<QString> model;

    bool isEmpty() const { return !digitizedTime && !latitude && !longitude && !model; }
};

// Reads the Exif, GPS and TIFF facts of an image's first image from JPEG
// (APP1 "Exif"), PNG ("eXIf" chunk) and TIFF files. Image files come from
// anywhere, so every offset and count is checked against the bytes that are
// really there before it is used: a malformed block is refused as a whole with
// a reason, never read past. Only the first image directory and the Exif and
// GPS directories it points to are read; chains are not followed.
namespace ImageMetadataReader {

// Facts of the file; empty facts when it is an image without metadata or of
// another kind; none, with the reason, when its metadata block is malformed or
// the file cannot be read.
std::optional<ImageCaptureFacts> read(const QString &path, QString *error = nullptr);
std::optional<ImageCaptureFacts> read(QIODevice &device, QString *error = nullptr);

}  // namespace ImageMetadataReader
