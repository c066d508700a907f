#pragma once

#include <QString>

// The value behind the quota bar (TXLevelIndicator): the percentage it holds,
// the text it shows, the share of the bar it fills and whether it warns.
class LevelIndicatorValue
{
public:
    static constexpr int kMaximum = 100;
    static constexpr int kWarningFrom = 99;

    // Values above 100 become 100; negative values change nothing.
    void setPercentage(int percent);
    // The percentage the bar is drawn with: the stored value, and 1 for 0,
    // so that an empty quota still shows a sliver.
    int percentage() const { return mPercent == 0 ? 1 : mPercent; }
    int storedPercentage() const { return mPercent; }
    // "42 %" for 42.
    QString text() const { return mPercentStr; }
    double barWidth(double fullWidth) const { return percentage() * fullWidth / kMaximum; }
    bool isWarning() const { return mPercent >= kWarningFrom; }

private:
    int mPercent = 0;
    QString mPercentStr = QStringLiteral("0 %");
};
