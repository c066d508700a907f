#include "client/shell/views/bandwidth/BandWidthTestView.h"

#include "desktop/kit/views/ClientArtwork.h"

#include <QLinearGradient>
#include <QPainter>

BandWidthTestView::BandWidthTestView(QWidget *parent)
    : QWidget(parent)
{}

void BandWidthTestView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    // Into the whole panel: scaling into the repainted part alone would distort the picture.
    const QPixmap picture = ClientArtwork::image(QStringLiteral("bandwidthtest"));
    if (!picture.isNull()) {
        painter.drawPixmap(rect(), picture);
        return;
    }
    QLinearGradient wash(rect().topLeft(), rect().bottomLeft());
    wash.setColorAt(0, ClientArtwork::brandColour().lighter(185));
    wash.setColorAt(1, Qt::white);
    painter.fillRect(rect(), wash);
}
