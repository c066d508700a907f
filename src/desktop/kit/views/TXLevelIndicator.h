#pragma once

#include "desktop/kit/LevelIndicatorValue.h"

#include <QWidget>

// The quota bar: a rounded grey trough with a green bar (red from 99 %) and
// the percentage written across it.
class TXLevelIndicator : public QWidget
{
    Q_OBJECT
public:
    explicit TXLevelIndicator(QWidget *parent = nullptr);

    void setPercentage(int percent);
    int percentage() const { return mValue.percentage(); }
    QString text() const { return mValue.text(); }

    QSize sizeHint() const override { return {160, 18}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    LevelIndicatorValue mValue;
};
