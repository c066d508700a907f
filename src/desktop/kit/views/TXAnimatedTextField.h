#pragma once

#include "desktop/kit/AnimatedText.h"

#include <QLabel>

// A status label whose text clears itself a while after it was set.
class TXAnimatedTextField : public QLabel
{
    Q_OBJECT
public:
    explicit TXAnimatedTextField(QWidget *parent = nullptr, AnimatedText::Timings timings = {});

    void setAnimatedText(const QString &text) { mText.setAnimatedText(text); }

private:
    AnimatedText mText;
};
