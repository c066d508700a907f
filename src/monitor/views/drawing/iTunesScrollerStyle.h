#pragma once

#include <QProxyStyle>

// The monitor's scroll bars: a flat slot shaded to white, a rounded blue-grey
// knob, and a triangle on the decrement button. Other controls are the
// platform style's.
class iTunesScrollerStyle : public QProxyStyle
{
    Q_OBJECT
public:
    using QProxyStyle::QProxyStyle;

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                            const QWidget *widget = nullptr) const override;

private:
    void drawKnob(QPainter &painter, QRectF knob, bool vertical) const;
    void drawArrow(QPainter &painter, const QRectF &button, bool vertical, bool decrement, bool highlighted) const;
};
