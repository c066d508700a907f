// The drawing kit's views, as pictures.

#include "monitor/views/drawing/MRGradientFill.h"
#include "monitor/views/drawing/ProgressView.h"
#include "monitor/views/drawing/iTunesScrollerStyle.h"

#include <QImage>
#include <QScrollBar>

#include <gtest/gtest.h>

namespace {

bool isGreen(QRgb pixel) { return qGreen(pixel) > qRed(pixel) + 60 && qGreen(pixel) > qBlue(pixel) + 60; }
bool isLightGrey(QRgb pixel) { return qAbs(qRed(pixel) - qGreen(pixel)) < 8 && qRed(pixel) > 190; }

TEST(DrawingKitTest, QuotaBarAtNoneAndFull)
{
    ProgressView bar;
    bar.resize(115, 12);
    bar.setProgressValue(0);
    QImage empty = bar.grab().toImage();
    EXPECT_EQ(bar.text(), "0 %");
    EXPECT_TRUE(isLightGrey(empty.pixel(4, 6)));
    EXPECT_TRUE(isLightGrey(empty.pixel(110, 6)));

    bar.setProgressValue(100);
    QImage full = bar.grab().toImage();
    EXPECT_TRUE(isGreen(full.pixel(4, 6)));
    EXPECT_TRUE(isGreen(full.pixel(110, 6)));

    bar.setProgressValue(140);
    EXPECT_EQ(bar.progressValue(), 100);
}

TEST(DrawingKitTest, RoundedPathsClampTheirRadius)
{
    // A radius beyond half the height gives a stadium: the ends are half circles.
    const QPainterPath stadium = MRGradientFill::bezierPathWithRoundedRect(QRectF(0, 0, 100, 20), 50);
    EXPECT_TRUE(stadium.contains(QPointF(10, 10)));
    EXPECT_FALSE(stadium.contains(QPointF(1, 1)));
    EXPECT_TRUE(stadium.contains(QPointF(1, 10)));
    EXPECT_TRUE(MRGradientFill::bezierPathWithRoundedRect(QRectF(), 5).isEmpty());
    EXPECT_TRUE(MRGradientFill::bezierPathWithRoundedRect(QRectF(0, 0, 10, 10), 0).contains(QPointF(0.5, 0.5)));
}

TEST(DrawingKitTest, ScrollerDrawsItsKnob)
{
    iTunesScrollerStyle style;
    QScrollBar bar(Qt::Vertical);
    bar.setStyle(&style);
    bar.resize(15, 200);
    bar.setRange(0, 100);
    bar.setPageStep(40);
    const QImage picture = bar.grab().toImage();
    // The knob's blue-grey somewhere down the middle of the bar.
    bool knob = false;
    for (int y = 0; y < picture.height(); ++y) {
        const QRgb pixel = picture.pixel(7, y);
        knob |= qBlue(pixel) > qRed(pixel) + 25 && qBlue(pixel) < 230;
    }
    EXPECT_TRUE(knob);
}

}  // namespace
