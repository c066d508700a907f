#pragma once

#include <QString>

namespace ShellPattern {

// Shell wildcard matching of a whole text, as the C library's fnmatch does it:
// "*" and "?" also match "/", a leading "." needs no explicit match, a
// backslash escapes the next character and "[...]" is a bracket expression.
// Text and pattern are matched as UTF-8 characters whatever the process
// locale is, so "?" takes one character and case folding covers non-ASCII letters.
bool shellPatternMatches(const QString &text, const QString &pattern, bool ignoreCase);

}  // namespace ShellPattern
