#include "desktop/kit/AnimatedText.h"

AnimatedText::AnimatedText(Timings timings, QObject *parent)
    : QObject(parent)
    , mTimings(timings)
{
    mDisplayTimer.setSingleShot(true);
    connect(&mDisplayTimer, &QTimer::timeout, this, [this] { show(QString()); });
}

void AnimatedText::setAnimatedText(const QString &text)
{
    if (text == mText)
        return;
    show(text);
    mDisplayTimer.stop();
    if (!text.isEmpty())
        mDisplayTimer.start(mTimings.clearAfter);
}

void AnimatedText::show(const QString &text)
{
    mText = text;
    emit textChanged(mText);
}
