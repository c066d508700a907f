#include "desktop/kit/views/TXAnimatedTextField.h"

TXAnimatedTextField::TXAnimatedTextField(QWidget *parent, AnimatedText::Timings timings)
    : QLabel(parent)
    , mText(timings)
{
    connect(&mText, &AnimatedText::textChanged, this, &QLabel::setText);
}
