#include "desktop/kit/LevelIndicatorValue.h"

#include <algorithm>

void LevelIndicatorValue::setPercentage(int percent)
{
    if (percent < 0)
        return;
    mPercent = std::min(percent, kMaximum);
    mPercentStr = QStringLiteral("%1 %").arg(mPercent);
}
