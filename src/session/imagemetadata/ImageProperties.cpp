#include "session/imagemetadata/ImageProperties.h"

#include "platform/ImageMetadataReader.h"

#include <QLocale>

namespace ImageProperties {
namespace {

QString numberText(const std::optional<double> &value)
{
    return value ? QString::number(*value, 'g', QLocale::FloatingPointShortest) : QString();
}

}  // namespace

ImageCaptureInfo captureInfo(const QString &path)
{
    const std::optional<ImageCaptureFacts> facts = ImageMetadataReader::read(path);
    if (!facts)
        return {};
    return {convertToAuthDateFormat(facts->digitizedTime.value_or(QString())), numberText(facts->latitude),
            numberText(facts->longitude), facts->model.value_or(QString())};
}

QString convertToAuthDateFormat(const QString &exifTime)
{
    const QStringList parts = exifTime.split(u' ');
    if (parts.size() < 2)
        return {};
    return QString(parts[0]).replace(u':', u'/') + u' ' + parts[1];
}

}  // namespace ImageProperties
