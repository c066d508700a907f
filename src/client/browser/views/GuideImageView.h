#pragma once

#include <QWidget>

// A first-use guide's image: a callout in the brand's colour with a short text and
// an arrow at one corner, drawn with its own opacity over the page. It lets clicks
// through to what lies below.
class GuideImageView : public QWidget
{
public:
    enum class Arrow
    {
        DownLeft,
        DownRight,
        UpLeft
    };

    GuideImageView(const QString &text, Arrow arrow, QWidget *parent);

    // The opacity it is drawn with, 0 to 1.
    void setAlphaValue(qreal alpha);
    qreal alphaValue() const { return mAlpha; }
    QString text() const { return mText; }
    // The size its text needs.
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString mText;
    Arrow mArrow;
    qreal mAlpha = 1.0;
};
