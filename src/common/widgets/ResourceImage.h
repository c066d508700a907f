#pragma once

#include <QPixmap>
#include <QString>

// The images shipped in the "images" folder of the resources. A missing image
// gives a null pixmap (and a warning), so a window still opens without it.
namespace ResourceImage {

QPixmap load(const QString &fileName);

// The brand's application icon.
QPixmap brandIcon();

}  // namespace ResourceImage
