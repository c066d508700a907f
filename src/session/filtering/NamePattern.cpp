#include "session/filtering/NamePattern.h"

#include "common/utility/QLUtility.h"

NamePattern::NamePattern(const QString &pattern)
    : mPattern(pattern)
{
    mPlain = parse();
    if (!mPlain)
        mPieces.clear();
    for (const QString &piece : mPieces)
        mFinders.emplace_back(piece, Qt::CaseInsensitive);
}

// Splits the wildcard at its stars into pieces of text, with escapes undone;
// false when it holds anything else that shell matching gives a meaning.
bool NamePattern::parse()
{
    QString piece;
    mFixedStart = !mPattern.startsWith(u'*');
    mFixedEnd = true;
    for (qsizetype i = 0; i < mPattern.size(); ++i) {
        const QChar c = mPattern.at(i);
        if (c == u'?' || c == u'[')
            return false;
        if (c == u'\\') {
            if (++i == mPattern.size())
                return false;
            piece += mPattern.at(i);
            mFixedEnd = true;
        } else if (c == u'*') {
            if (!piece.isEmpty())
                mPieces.push_back(std::exchange(piece, QString()));
            mFixedEnd = false;
        } else {
            piece += c;
            mFixedEnd = true;
        }
    }
    if (!piece.isEmpty())
        mPieces.push_back(piece);
    return true;
}

bool NamePattern::matches(const QString &path) const
{
    return mPlain ? matchesPieces(path) : QLUtility::isStringMatchesPattern(path, mPattern);
}

bool NamePattern::matchesPieces(QStringView path) const
{
    if (mPieces.empty())
        return !(mFixedStart && mFixedEnd) || path.isEmpty();
    size_t first = 0;
    size_t last = mPieces.size();
    qsizetype from = 0;
    qsizetype end = path.size();
    if (mFixedStart) {
        if (!path.startsWith(mPieces.front(), Qt::CaseInsensitive))
            return false;
        from = mPieces.front().size();
        ++first;
    }
    if (mFixedEnd && first < last) {
        const qsizetype tail = mPieces.back().size();
        if (end - tail < from || !path.endsWith(mPieces.back(), Qt::CaseInsensitive))
            return false;
        end -= tail;
        --last;
    } else if (mFixedEnd && from != end) {
        return false;  // a wildcard without stars is the whole path
    }
    // Taking each piece as early as it comes leaves the most room for the rest.
    const QStringView middle = path.first(end);
    for (size_t i = first; i < last; ++i) {
        const qsizetype at = mFinders[i].indexIn(middle, from);
        if (at < 0)
            return false;
        from = at + mPieces[i].size();
    }
    return true;
}
