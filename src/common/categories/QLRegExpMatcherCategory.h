#pragma once

#include <QString>

// Pattern helpers for the partial-name exclusions of the backup session.
namespace QLRegExpMatcher {

// Turns a partial-name exclusion entry into a wildcard pattern for
// QLUtility::isStringMatchesPattern: the entry between two "*", each "**" made
// "*" in one left-to-right pass, "?" made "*", backslashes doubled and "|" and
// "_" escaped with a backslash. "a?b" gives "*a*b*"; "*" gives "**".
QString escapedPattern(const QString &entry);

}  // namespace QLRegExpMatcher
