#pragma once

#include <QPushButton>

// A flat button that shows a white rounded bezel only while it is pressed.
class KButtonCell : public QPushButton
{
    Q_OBJECT
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent *event) override;
};
