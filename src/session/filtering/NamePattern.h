#pragma once

#include <QString>
#include <QStringMatcher>
#include <QStringView>

#include <vector>

// The wildcard of a partial-name exclusion, prepared once for a whole batch of
// paths and matched over the whole path ignoring case, as shell matching does
// it. A wildcard of plain text and stars (every entry but one holding a bracket
// expression) is matched by finding its pieces of text in turn, with no
// conversion of the path; any other goes to shell matching.
class NamePattern
{
public:
    explicit NamePattern(const QString &pattern);

    bool matches(const QString &path) const;

private:
    bool parse();
    bool matchesPieces(QStringView path) const;

    QString mPattern;
    bool mPlain = false;       // only text and stars: matched by the pieces below
    bool mFixedStart = false;  // no star before the first piece
    bool mFixedEnd = false;    // no star after the last piece
    std::vector<QString> mPieces;
    std::vector<QStringMatcher> mFinders;  // one per piece
};
