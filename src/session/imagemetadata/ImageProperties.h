#pragma once

#include <QString>

// The capture facts of a backed-up image in the text forms the engine's
// metadata directives take. Each is empty when the image does not state it.
struct ImageCaptureInfo
{
    QString digitizedTime;  // "yyyy/MM/dd HH:mm:ss"
    QString latitude;
    QString longitude;
    QString model;

    bool isEmpty() const
    {
        return digitizedTime.isEmpty() && latitude.isEmpty() && longitude.isEmpty() && model.isEmpty();
    }
};

// Reads an image's Exif digitizing time, GPS position and camera model.
namespace ImageProperties {

// The facts of the file at the path; all empty when it has none or they cannot be read.
ImageCaptureInfo captureInfo(const QString &path);

// "2026:12:10 20:15:00" -> "2026/12/10 20:15:00": the first blank-separated
// part with every ":" turned into "/", a blank, then the second part; the
// empty text when there are fewer than two parts.
QString convertToAuthDateFormat(const QString &exifTime);

}  // namespace ImageProperties
