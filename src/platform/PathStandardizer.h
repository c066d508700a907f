#pragma once

#include <QString>

namespace PathStandardizer {

// Standardizes a path the way the product expects: a leading tilde becomes the
// home folder, doubled separators, "." components and a trailing separator go,
// and ".." is resolved where a parent component exists.
QString standardizePath(const QString &path);

}  // namespace PathStandardizer
