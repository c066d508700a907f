#pragma once

#include "txruvo/ProgressLine.h"

#include <QByteArray>

#include <chrono>
#include <vector>

// Element lines made but not written yet, still without their run totals,
// which the report puts in as it writes them (so the totals grow line by
// line). A thread makes its lines outside the report's lock and hands them
// over a few dozen at a time.
class PendingLines
{
public:
    // A line as the report completes it: the text before and after the
    // place of the totals.
    struct Line
    {
        QByteArrayView head;
        QByteArrayView tail;
        int percent;
        quint64 skippedBytes;  // an unchanged file's size, counted before its line
    };

    void add(const ProgressLine &line, ProgressLine::Kind kind, quint64 skippedBytes);
    void clear();
    bool isEmpty() const { return mLines.empty(); }
    qsizetype count() const { return qsizetype(mLines.size()); }
    Line at(qsizetype index) const;
    std::chrono::steady_clock::time_point firstAddedAt() const { return mFirstAddedAt; }

private:
    struct Place
    {
        qsizetype start;
        qsizetype totalsAt;
        qsizetype end;
        int percent;
        quint64 skippedBytes;
    };

    QByteArray mText;  // the lines one after the other, without line breaks
    std::vector<Place> mLines;
    std::chrono::steady_clock::time_point mFirstAddedAt;
};
