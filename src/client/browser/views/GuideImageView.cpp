#include "client/browser/views/GuideImageView.h"

#include "desktop/kit/views/ClientArtwork.h"

#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int kArrowHeight = 10;
constexpr int kArrowInset = 22;  // from the callout's side to the arrow's tip
constexpr int kTextMargin = 14;
constexpr int kBoxHeight = 34;

}  // namespace

GuideImageView::GuideImageView(const QString &text, Arrow arrow, QWidget *parent)
    : QWidget(parent)
    , mText(text)
    , mArrow(arrow)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    QFont bold = font();
    bold.setBold(true);
    setFont(bold);
    resize(sizeHint());
    hide();
}

void GuideImageView::setAlphaValue(qreal alpha)
{
    mAlpha = alpha;
    update();
}

QSize GuideImageView::sizeHint() const
{
    return {fontMetrics().horizontalAdvance(mText) + 2 * kTextMargin, kBoxHeight + kArrowHeight};
}

void GuideImageView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(mAlpha);

    const bool up = mArrow == Arrow::UpLeft;
    const QRectF box(0.5, up ? kArrowHeight + 0.5 : 0.5, width() - 1.0, kBoxHeight - 1.0);
    const qreal tipX = mArrow == Arrow::DownRight ? box.right() - kArrowInset : box.left() + kArrowInset;
    const qreal baseY = up ? box.top() : box.bottom();
    const qreal tipY = up ? 0.5 : height() - 0.5;

    QPainterPath callout;
    callout.addRoundedRect(box, 8, 8);
    QPainterPath arrow;
    arrow.moveTo(tipX - kArrowHeight, baseY);
    arrow.lineTo(tipX, tipY);
    arrow.lineTo(tipX + kArrowHeight, baseY);
    arrow.closeSubpath();
    callout = callout.united(arrow);

    painter.setPen(QPen(Qt::white, 1.5));
    painter.setBrush(ClientArtwork::brandColour());
    painter.drawPath(callout);
    painter.setPen(Qt::white);
    painter.drawText(box, Qt::AlignCenter, mText);
}
