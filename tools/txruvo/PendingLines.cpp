#include "txruvo/PendingLines.h"

void PendingLines::add(const ProgressLine &line, ProgressLine::Kind kind, quint64 skippedBytes)
{
    if (mLines.empty())
        mFirstAddedAt = std::chrono::steady_clock::now();
    const qsizetype start = mText.size();
    const qsizetype totalsAt = line.appendElementWithoutTotals(mText, kind);
    mLines.push_back({start, totalsAt, mText.size(), line.percent, skippedBytes});
}

void PendingLines::clear()
{
    mText.truncate(0);  // keeps its room for the next lines
    mLines.clear();
}

PendingLines::Line PendingLines::at(qsizetype index) const
{
    const Place &place = mLines[size_t(index)];
    const QByteArrayView text(mText);
    return {text.sliced(place.start, place.totalsAt - place.start),
            text.sliced(place.totalsAt, place.end - place.totalsAt), place.percent, place.skippedBytes};
}
