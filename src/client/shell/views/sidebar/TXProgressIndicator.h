#pragma once

#include <QWidget>

// A red pie: a ring with a wedge that grows clockwise from the top as the
// value goes from the minimum to the maximum.
class TXProgressIndicator : public QWidget
{
    Q_OBJECT
public:
    explicit TXProgressIndicator(QWidget *parent = nullptr);

    void setRange(double minimum, double maximum);
    void setValue(double value);
    double value() const { return mValue; }

    QSize sizeHint() const override { return {16, 16}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    double mMinimum = 0;
    double mMaximum = 100;
    double mValue = 0;
};
