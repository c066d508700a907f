#include "common/widgets/ResourceImage.h"

#include "common/texts/Brand.h"
#include "platform/PathRoots.h"

#include <QtDebug>

namespace ResourceImage {

QPixmap load(const QString &fileName)
{
    const QString path = PathRoots::resourcesFolder() + QStringLiteral("/images/") + fileName;
    QPixmap image(path);
    if (image.isNull())
        qWarning().noquote() << "image not loaded:" << path;
    return image;
}

QPixmap brandIcon()
{
    return load(Brand::pick(QStringLiteral("Tarnix_Portable.png"), QStringLiteral("Quellon_Portable.png")));
}

}  // namespace ResourceImage
