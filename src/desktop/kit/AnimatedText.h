#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>

// The self-clearing status text behind TXAnimatedTextField: a new text is
// shown and cleared again after a while; the same text again changes nothing
// and an empty text cancels the clearing.
struct AnimatedTextTimings
{
    std::chrono::milliseconds clearAfter{std::chrono::seconds(15)};
};

class AnimatedText : public QObject
{
    Q_OBJECT
public:
    using Timings = AnimatedTextTimings;

    explicit AnimatedText(Timings timings = {}, QObject *parent = nullptr);

    void setAnimatedText(const QString &text);
    QString text() const { return mText; }
    bool isClearing() const { return mDisplayTimer.isActive(); }

signals:
    void textChanged(const QString &text);

private:
    void show(const QString &text);

    Timings mTimings;
    QString mText;
    QTimer mDisplayTimer;
};
