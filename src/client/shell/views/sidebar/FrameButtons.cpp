#include "client/shell/views/sidebar/FrameButtons.h"

#include "desktop/kit/views/ClientArtwork.h"

#include <QPushButton>

namespace FrameButtons {

QPushButton *imageButton(const QString &image, QWidget *parent)
{
    auto *button = new QPushButton(parent);
    const QPixmap pixmap = ClientArtwork::image(image);
    button->setIcon(pixmap);
    button->setIconSize(pixmap.deviceIndependentSize().toSize());
    button->setFlat(true);
    button->setCursor(Qt::PointingHandCursor);
    button->setStyleSheet(QStringLiteral("QPushButton { border: none; background: transparent; }"));
    return button;
}

}  // namespace FrameButtons
